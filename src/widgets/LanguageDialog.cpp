#include "widgets/LanguageDialog.h"

#include "data/Codepage.h"
#include "data/LanguageSelection.h"
#include "widgets/DialogText.h"
#include "widgets/WindowStyle.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace trv {

LanguageDialog::LanguageDialog(const DataFolder& folder, std::string_view currentName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FormL"));
    setWindowTitle(QStringLiteral("Select Language"));
    setFixedSize(ClientWidth, ClientHeight);
    setFont(dialogFont(13));
    setWindowBackground(*this, DesignBackground);

    Label1 = new QLabel(QStringLiteral("Languages:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, 225, 16);

    LanguageBox = new QComboBox(this);
    LanguageBox->setObjectName(QStringLiteral("LanguageBox"));
    LanguageBox->setGeometry(16, 32, 225, 24);
    LanguageBox->setEditable(true);
    LanguageBox->setInsertPolicy(QComboBox::NoInsert);
    // The settings keep 48 characters of a name; longer typing is refused as it happens.
    LanguageBox->lineEdit()->setMaxLength(static_cast<int>(MaxLanguageNameLength));
    if (const std::optional<std::vector<LanguageEntry>> languages = readLanguageList(folder)) {
        for (const LanguageEntry& entry : *languages) {
            LanguageBox->addItem(dialogText(entry.name));
            listedNames_.push_back(entry.name);
        }
    }
    currentName_ = std::string(currentName.substr(0, currentName.find('\n')));
    LanguageBox->setEditText(dialogText(currentName_));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(48, 72, 75, 25);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(136, 72, 75, 25);

    connect(LanguageBox, &QComboBox::activated, this, &LanguageDialog::LanguageBoxSelect);
    connect(OKButton, &QPushButton::clicked, this, &LanguageDialog::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &LanguageDialog::CancelButtonClick);
}

void LanguageDialog::LanguageBoxSelect(int index) {
    if (index >= 0)
        LanguageBox->setEditText(LanguageBox->itemText(index));
}

void LanguageDialog::OKButtonClick() {
    confirmed_ = true;
    languageName_ = acceptLanguageName(chosenBytes(LanguageBox->currentText()));
    accept();
}

std::string LanguageDialog::chosenBytes(const QString& shown) const {
    // A listed or current name goes back byte for byte: a byte the code page has no character for
    // shows as a mark that would not encode back to it.
    for (const std::string& listed : listedNames_) {
        if (dialogText(listed) == shown)
            return listed;
    }
    if (dialogText(currentName_) == shown)
        return currentName_;
    return encodeFromUtf8(shown.toStdString(), Codepage::CentralEuropean);
}

void LanguageDialog::CancelButtonClick() {
    reject();
}

} // namespace trv
