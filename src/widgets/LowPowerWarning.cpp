#include "widgets/LowPowerWarning.h"

#include "widgets/DialogText.h"
#include "widgets/WindowStyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace trv {

namespace {
constexpr int CaptionDialog = 35;
constexpr int CaptionLabel1 = 36;
constexpr int CaptionLabel2 = 37;
constexpr int CaptionLabel3 = 38;
constexpr int CaptionContinue = 39;
constexpr int HintContinue = 40;
constexpr int CaptionBreak = 41;
constexpr int HintBreak = 42;
} // namespace

LowPowerWarning::LowPowerWarning(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("TContForm");
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFont(mainWindowFont());
    setWindowBackground(*this, DesignBackground);

    const CaptionTable& captions = ctx.texts.captions;
    setWindowTitle(captionOr(captions, CaptionDialog, QStringLiteral("Warning")));
    const auto label = [&](const char* name, int top, int entry, const QString& design) {
        auto* l = plainLabel(new QLabel(captionOr(captions, entry, design), this));
        l->setObjectName(name);
        l->move(40, top);
        l->adjustSize();
        return l;
    };
    Label1 = label("Label1", 24, CaptionLabel1,
                   QStringLiteral("Wellness device has low power. Please charge the went dead battery!"));
    Label2 = label("Label2", 48, CaptionLabel2,
                   QStringLiteral("Change for charged battery, turn on the device and press Continue button."));
    Label3 = label("Label3", 72, CaptionLabel3, QStringLiteral("To finish the treatment, press Break button. "));
    ContButton = new QPushButton(captionOr(captions, CaptionContinue, QStringLiteral("Continue")), this);
    ContButton->setObjectName("ContButton");
    ContButton->setGeometry(88, 136, 97, 25);
    ContButton->setToolTip(plainHint(captionOr(captions, HintContinue, QStringLiteral("Continue the treatment."))));
    BreakButton = new QPushButton(captionOr(captions, CaptionBreak, QStringLiteral("Break")), this);
    BreakButton->setObjectName("BreakButton");
    BreakButton->setGeometry(312, 136, 97, 25);
    BreakButton->setToolTip(
        plainHint(captionOr(captions, HintBreak, QStringLiteral("Close and terminate the treatment."))));
    ContButton->setAutoDefault(false);
    BreakButton->setAutoDefault(false);

    connect(ContButton, &QPushButton::clicked, this, [this] { ContButtonClick(); });
    connect(BreakButton, &QPushButton::clicked, this, [this] { BreakButtonClick(); });
}

void LowPowerWarning::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, not on the main window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void LowPowerWarning::ContButtonClick() {
    ctx_.session.continueFlag = true;
    accept();
}

void LowPowerWarning::BreakButtonClick() {
    reject();
}

} // namespace trv
