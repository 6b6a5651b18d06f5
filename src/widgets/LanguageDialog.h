#pragma once

#include "data/DataFolder.h"

#include <QDialog>

#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace trv {

// The language dialog "Select Language": the languages of language.fld to choose from, or a name
// typed by hand. The caller reads confirmed() and languageName() after exec(); a new dialog is made
// for every change of language.
class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 257;
    static constexpr int ClientHeight = 113;

    // currentName: the language in force (8-bit), shown as the combo box's text.
    LanguageDialog(const DataFolder& folder, std::string_view currentName, QWidget* parent = nullptr);

    // OK was pressed.
    bool confirmed() const { return confirmed_; }
    // The name the dialog was confirmed with: 8-bit, at most 48 characters, without line end.
    const std::string& languageName() const { return languageName_; }

    void LanguageBoxSelect(int index);
    void OKButtonClick();
    void CancelButtonClick();

private:
    std::string chosenBytes(const QString& shown) const;

    QLabel* languagesLabel_ = nullptr; // "Label1"
    QComboBox* languageBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;

    bool confirmed_ = false;
    std::string languageName_;
    std::vector<std::string> listedNames_; // 8-bit, as language.fld spells them
    std::string currentName_;
};

} // namespace trv
