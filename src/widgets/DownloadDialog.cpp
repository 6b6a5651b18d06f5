#include "widgets/DownloadDialog.h"

#include "data/CaptionNumbers.h"
#include "widgets/DialogText.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace trv {

namespace {

constexpr int ListItemHeight = 16;

namespace design {
constexpr WindowDesign Window{
    "TFormDl", {DownloadDialog::ClientWidth, DownloadDialog::ClientHeight}, {caption::DownloadTitle, "Download"}};
constexpr ControlDesign ListBox1{"ListBox1", {8, 8, 261, 208}, {}, {caption::DownloadListHint}};
constexpr ControlDesign ProgressBar1{"ProgressBar1", {8, 224, 261, 17}, {}, {caption::DownloadProgressHint}};
constexpr ControlDesign StartButton{
    "StartButton", {24, 256, 97, 33}, {caption::DownloadStart, "Start"}, {caption::DownloadStartHint}};
constexpr ControlDesign CloseButton{
    "CloseButton", {156, 256, 97, 33}, {caption::DownloadClose, "Close"}, {caption::DownloadCloseHint}};
} // namespace design

} // namespace

DownloadDialog::DownloadDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent)
    : WorkerDialog(
          worker_, [this] { sequence_.FormActivate(); }, [this] { sequence_.FrameClose(); }, parent),
      ctx_(ctx), errors_(errors), windows_(windows),
      sequence_(ctx.link, Timer1, *this, ctx.session, ctx.control, ctx.catalogue, ctx.texts),
      worker_(QStringLiteral("DownloadWorker")) {
    const WindowBuilder build(*this, &ctx.texts.captions);
    build.frame(design::Window, DialogFont(13));
    stepList_ = build.make<QListWidget>(this, design::ListBox1);
    stepList_->setSelectionMode(QAbstractItemView::NoSelection);
    stepList_->setUniformItemSizes(true);
    progressBar_ = build.make<QProgressBar>(this, design::ProgressBar1);
    progressBar_->setRange(0, 1);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    startButton_ = build.button(this, design::StartButton, [this] { StartButtonClick(); });
    closeButton_ = build.button(this, design::CloseButton, [this] { CloseButtonClick(); });
    startButton_->setEnabled(false);
    closeButton_->setEnabled(false);

    Timer1.qtimer().setObjectName("Timer1");
    worker_.adopt(Timer1.qtimer());
}

DownloadDialog::~DownloadDialog() {
    // The sequence and its timer go with the dialog: the worker must be done with them first.
    worker_.stop();
}

void DownloadDialog::StartButtonClick() {
    worker_.act([this] { sequence_.StartButtonClick(); });
}

void DownloadDialog::CloseButtonClick() {
    worker_.closeDialog(*this, QDialog::Accepted, [this] { sequence_.CloseButtonClick(); });
}

void DownloadDialog::clearLines() {
    worker_.toWindow([this] { stepList_->clear(); });
}

void DownloadDialog::addLine(const std::string& text) {
    worker_.toWindow([this, line = DialogText(text)] {
        auto* item = new QListWidgetItem(line);
        item->setSizeHint(QSize(0, ListItemHeight));
        stepList_->addItem(item);
        stepList_->scrollToBottom();
    });
}

void DownloadDialog::setProgressMaximum(int maximum) {
    // A range of 0 to 0 would turn the bar into a busy indicator.
    worker_.toWindow([this, maximum] { progressBar_->setRange(0, std::max(maximum, 1)); });
}

void DownloadDialog::setProgress(int position) {
    worker_.toWindow([this, position] {
        progressBar_->setValue(std::clamp(position, progressBar_->minimum(), progressBar_->maximum()));
    });
}

void DownloadDialog::setStartEnabled(bool enabled) {
    worker_.toWindow([this, enabled] { startButton_->setEnabled(enabled); });
}

void DownloadDialog::setCloseEnabled(bool enabled) {
    worker_.toWindow([this, enabled] { closeButton_->setEnabled(enabled); });
}

void DownloadDialog::showErrorBox(const std::string& title, const std::string& text) {
    worker_.ask([this, title = DialogText(title), text = DialogText(text)] {
        errors_.show(this, title, text, ErrorDisplay::Icon::Error, true);
    });
}

void DownloadDialog::showProcessRunningWarning() {
    const bool asked = worker_.ask([this] {
        if (windows_.warning != nullptr)
            windows_.warning->exec();
    });
    // The window went before the question came up: nothing was chosen, and an abort must not be
    // sent on the user's behalf.
    if (!asked)
        sequence_.FrameClose();
}

void DownloadDialog::closeDialog() {
    worker_.finish([this] { QDialog::done(QDialog::Accepted); });
}

} // namespace trv
