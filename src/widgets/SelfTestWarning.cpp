#include "widgets/SelfTestWarning.h"

#include "widgets/WindowStyle.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace trv {

SelfTestWarning::SelfTestWarning(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("TSTWForm");
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowBackground(*this, QColor(255, 0, 0));
    setFont(dialogFont(16));
    // Not localised: the design's English texts whatever the language.
    setWindowTitle(QStringLiteral("Self test warning"));

    const auto whiteBold = [this](const char* name, int top, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setFont(dialogFont(16, true));
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(palette);
        l->move(40, top);
        l->adjustSize();
        return l;
    };
    Label1 = whiteBold("Label1", 32, QStringLiteral("Insert the required accessories to the device."));
    Label2 = whiteBold("Label2", 72, QStringLiteral("Press Start to begin the test, Cancel to exit."));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setGeometry(216, 136, 75, 25);
    StartButton = new QPushButton(QStringLiteral("Start"), this);
    StartButton->setObjectName("StartButton");
    StartButton->setGeometry(328, 136, 75, 25);
    CancelButton->setAutoDefault(false);
    StartButton->setAutoDefault(false);

    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    connect(StartButton, &QPushButton::clicked, this, [this] { StartButtonClick(); });
}

void SelfTestWarning::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void SelfTestWarning::FormActivate() {
    ctx_.session.selfTestFlag = false;
}

void SelfTestWarning::StartButtonClick() {
    ctx_.session.selfTestFlag = true;
    accept();
}

void SelfTestWarning::CancelButtonClick() {
    reject();
}

} // namespace trv
