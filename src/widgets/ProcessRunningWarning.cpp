#include "widgets/ProcessRunningWarning.h"

#include "data/CaptionNumbers.h"
#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace trv {

namespace {

constexpr int PictureWidth = 51;
constexpr int PictureHeight = 49;

// A yellow warning triangle with an exclamation mark, drawn to the picture's size.
QPixmap WarningSign() {
    QPixmap picture(PictureWidth, PictureHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(PictureWidth / 2.0, 3);
    triangle.lineTo(PictureWidth - 3, PictureHeight - 4);
    triangle.lineTo(3, PictureHeight - 4);
    triangle.closeSubpath();
    painter.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 214, 0));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(PictureWidth / 2.0 - 2.5, 16, 5, 17), 2, 2);
    painter.drawEllipse(QPointF(PictureWidth / 2.0, 38.5), 3, 3);
    return picture;
}

namespace design {
constexpr WindowDesign Window{"TFormW",
                              {ProcessRunningWarning::ClientWidth, ProcessRunningWarning::ClientHeight},
                              {caption::ProcessRunningTitle, "Warning"}};
constexpr ControlDesign Image1{"Image1", {32, 16, PictureWidth, PictureHeight}};
constexpr ControlDesign Label1{"Label1", {112, 16, 0, 0}, {caption::ProcessRunningLine1, "There's a process running"}};
constexpr ControlDesign Label2{"Label2", {112, 38, 0, 0}, {caption::ProcessRunningLine2, "in the equipment."}};
constexpr ControlDesign AbortButton{
    "AbortButton", {24, 80, 129, 41}, {caption::ProcessRunningAbort, "Abort"}, {caption::ProcessRunningAbortHint}};
constexpr ControlDesign ContButton{"ContButton",
                                   {168, 80, 145, 41},
                                   {caption::ProcessRunningContinue, "Continue processing"},
                                   {caption::ProcessRunningContinueHint}};
} // namespace design

} // namespace

ProcessRunningWarning::ProcessRunningWarning(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    const WindowBuilder build(*this, &ctx.texts.captions);
    build.frame(design::Window, DialogFont(13));
    warningSign_ = build.make<QLabel>(this, design::Image1);
    warningSign_->setPixmap(WarningSign());
    runningLabel_ = build.make<QLabel>(this, design::Label1);
    inDeviceLabel_ = build.make<QLabel>(this, design::Label2);
    abortButton_ = build.button(this, design::AbortButton, [this] { AbortButtonClick(); });
    continueButton_ = build.button(this, design::ContButton, [this] { ContButtonClick(); });
}

void ProcessRunningWarning::ContButtonClick() {
    ctx_.session.continueFlag = true;
    accept();
}

void ProcessRunningWarning::AbortButtonClick() {
    reject();
}

} // namespace trv
