#include "widgets/LanguageDialog.h"

#include "data/Codepage.h"
#include "data/LanguageSelection.h"
#include "widgets/DialogText.h"
#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace trv {

namespace {
namespace design {
constexpr WindowDesign Window{
    "FormL", {LanguageDialog::ClientWidth, LanguageDialog::ClientHeight}, {NoCaption, "Select Language"}};
constexpr ControlDesign Label1{"Label1", {16, 12, 225, 16}, {NoCaption, "Languages:"}};
constexpr ControlDesign LanguageBox{"LanguageBox", {16, 32, 225, 24}};
constexpr ControlDesign OKButton{"OKButton", {48, 72, 75, 25}, {NoCaption, "OK"}};
constexpr ControlDesign CancelButton{"CancelButton", {136, 72, 75, 25}, {NoCaption, "Cancel"}};
} // namespace design
} // namespace

LanguageDialog::LanguageDialog(const DataFolder& folder, std::string_view currentName, QWidget* parent)
    : QDialog(parent) {
    // The design's English texts whatever the language.
    const WindowBuilder build(*this, nullptr);
    build.frame(design::Window, DialogFont(13));
    languagesLabel_ = build.make<QLabel>(this, design::Label1);
    languageBox_ = build.make<QComboBox>(this, design::LanguageBox);
    languageBox_->setEditable(true);
    languageBox_->setInsertPolicy(QComboBox::NoInsert);
    // The settings keep 48 characters of a name; longer typing is refused as it happens.
    languageBox_->lineEdit()->setMaxLength(static_cast<int>(MaxLanguageNameLength));
    if (const std::optional<std::vector<LanguageEntry>> languages = ReadLanguageList(folder)) {
        for (const LanguageEntry& entry : *languages) {
            languageBox_->addItem(DialogText(entry.name));
            listedNames_.push_back(entry.name);
        }
    }
    currentName_ = std::string(currentName.substr(0, currentName.find('\n')));
    languageBox_->setEditText(DialogText(currentName_));

    okButton_ = build.make<QPushButton>(this, design::OKButton);
    okButton_->setDefault(true);
    cancelButton_ = build.make<QPushButton>(this, design::CancelButton);

    connect(languageBox_, &QComboBox::activated, this, &LanguageDialog::LanguageBoxSelect);
    connect(okButton_, &QPushButton::clicked, this, &LanguageDialog::OKButtonClick);
    connect(cancelButton_, &QPushButton::clicked, this, &LanguageDialog::CancelButtonClick);
}

void LanguageDialog::LanguageBoxSelect(int index) {
    if (index >= 0)
        languageBox_->setEditText(languageBox_->itemText(index));
}

void LanguageDialog::OKButtonClick() {
    confirmed_ = true;
    languageName_ = AcceptLanguageName(chosenBytes(languageBox_->currentText()));
    accept();
}

std::string LanguageDialog::chosenBytes(const QString& shown) const {
    // A listed or current name goes back byte for byte: a byte the code page has no character for
    // shows as a mark that would not encode back to it.
    for (const std::string& listed : listedNames_) {
        if (DialogText(listed) == shown)
            return listed;
    }
    if (DialogText(currentName_) == shown)
        return currentName_;
    return EncodeFromUtf8(shown.toStdString(), Codepage::CentralEuropean);
}

void LanguageDialog::CancelButtonClick() {
    reject();
}

} // namespace trv
