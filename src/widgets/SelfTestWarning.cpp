#include "widgets/SelfTestWarning.h"

#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace trv {

namespace {

namespace design {
constexpr WindowDesign Window{
    "TSTWForm", {SelfTestWarning::ClientWidth, SelfTestWarning::ClientHeight}, {NoCaption, "Self test warning"}};
constexpr ControlDesign Label1{"Label1", {40, 32, 0, 0}, {NoCaption, "Insert the required accessories to the device."}};
constexpr ControlDesign Label2{"Label2", {40, 72, 0, 0}, {NoCaption, "Press Start to begin the test, Cancel to exit."}};
constexpr ControlDesign CancelButton{"CancelButton", {216, 136, 75, 25}, {NoCaption, "Cancel"}};
constexpr ControlDesign StartButton{"StartButton", {328, 136, 75, 25}, {NoCaption, "Start"}};
} // namespace design

// The warning's labels: white bold on the red, sized to the bold text.
QLabel* WhiteBold(QLabel* label) {
    label->setFont(DialogFont(16, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->adjustSize();
    return label;
}

} // namespace

SelfTestWarning::SelfTestWarning(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    // No caption table: the design's English texts whatever the language.
    const WindowBuilder build(*this, nullptr);
    build.frame(design::Window, DialogFont(16), QColor(255, 0, 0));
    accessoriesLabel_ = WhiteBold(build.make<QLabel>(this, design::Label1));
    startOrCancelLabel_ = WhiteBold(build.make<QLabel>(this, design::Label2));
    cancelButton_ = build.button(this, design::CancelButton, [this] { CancelButtonClick(); });
    startButton_ = build.button(this, design::StartButton, [this] { StartButtonClick(); });
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
