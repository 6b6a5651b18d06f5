#include "widgets/LowPowerWarning.h"

#include "data/CaptionNumbers.h"
#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace trv {

namespace {

namespace design {
constexpr WindowDesign Window{
    "TContForm", {LowPowerWarning::ClientWidth, LowPowerWarning::ClientHeight}, {caption::LowPowerTitle, "Warning"}};
constexpr ControlDesign Label1{
    "Label1",
    {40, 24, 0, 0},
    {caption::LowPowerLine1, "Wellness device has low power. Please charge the went dead battery!"}};
constexpr ControlDesign Label2{
    "Label2",
    {40, 48, 0, 0},
    {caption::LowPowerLine2, "Change for charged battery, turn on the device and press Continue button."}};
constexpr ControlDesign Label3{
    "Label3", {40, 72, 0, 0}, {caption::LowPowerLine3, "To finish the treatment, press Break button. "}};
constexpr ControlDesign ContButton{"ContButton",
                                   {88, 136, 97, 25},
                                   {caption::LowPowerContinue, "Continue"},
                                   {caption::LowPowerContinueHint, "Continue the treatment."}};
constexpr ControlDesign BreakButton{"BreakButton",
                                    {312, 136, 97, 25},
                                    {caption::LowPowerBreak, "Break"},
                                    {caption::LowPowerBreakHint, "Close and terminate the treatment."}};
} // namespace design

} // namespace

LowPowerWarning::LowPowerWarning(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    const WindowBuilder build(*this, &ctx.texts.captions);
    build.frame(design::Window, MainWindowFont());
    chargeLabel_ = build.make<QLabel>(this, design::Label1);
    changeBatteryLabel_ = build.make<QLabel>(this, design::Label2);
    breakLabel_ = build.make<QLabel>(this, design::Label3);
    continueButton_ = build.button(this, design::ContButton, [this] { ContButtonClick(); });
    breakButton_ = build.button(this, design::BreakButton, [this] { BreakButtonClick(); });
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
