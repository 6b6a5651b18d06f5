#include "catalogue/trvl.h"

#include "app/WindowStyle.h"
#include "catalogue/Codepage.h"
#include "catalogue/LanguageSelection.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace trv {

namespace {

QString decoded(std::string_view bytes) {
    return QString::fromStdString(decodeToUtf8(bytes, Codepage::Western));
}

} // namespace

TFormL::TFormL(const DataFolder& folder, std::string_view currentName, QWidget* parent) : QDialog(parent) {
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
        for (const LanguageEntry& entry : *languages)
            LanguageBox->addItem(decoded(entry.name));
    }
    LanguageBox->setEditText(decoded(currentName.substr(0, currentName.find('\n'))));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(48, 72, 75, 25);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(136, 72, 75, 25);

    connect(LanguageBox, &QComboBox::activated, this, &TFormL::LanguageBoxSelect);
    connect(OKButton, &QPushButton::clicked, this, &TFormL::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TFormL::CancelButtonClick);
}

void TFormL::LanguageBoxSelect(int index) {
    if (index >= 0)
        LanguageBox->setEditText(LanguageBox->itemText(index));
}

void TFormL::OKButtonClick() {
    confirmed_ = true;
    languageName_ = acceptLanguageName(encodeFromUtf8(LanguageBox->currentText().toStdString(), Codepage::Western));
    accept();
}

void TFormL::CancelButtonClick() {
    reject();
}

} // namespace trv
