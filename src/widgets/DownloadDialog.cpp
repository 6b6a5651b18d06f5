#include "widgets/DownloadDialog.h"

#include "widgets/DialogText.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/WindowStyle.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace trv {

namespace {
// CaptionTable entries of this dialog.
constexpr int CaptionDialog = 0;
constexpr int HintListBox = 1;
constexpr int HintProgressBar = 2;
constexpr int CaptionStart = 3;
constexpr int HintStart = 4;
constexpr int CaptionClose = 5;
constexpr int HintClose = 6;
constexpr int ListItemHeight = 16;
} // namespace

DownloadDialog::DownloadDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent)
    : QDialog(parent), ctx_(ctx), errors_(errors), windows_(windows),
      sequence_(ctx.link, Timer1, *this, ctx.session, ctx.control, ctx.catalogue, ctx.texts),
      worker_(QStringLiteral("DownloadWorker")) {
    setObjectName("TFormDl");
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFont(dialogFont(13));
    setWindowBackground(*this, DesignBackground);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(8, 8, 261, 208);
    ListBox1->setSelectionMode(QAbstractItemView::NoSelection);
    ListBox1->setUniformItemSizes(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(8, 224, 261, 17);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    StartButton = new QPushButton(QStringLiteral("Start"), this);
    StartButton->setObjectName("StartButton");
    StartButton->setGeometry(24, 256, 97, 33);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setGeometry(156, 256, 97, 33);
    StartButton->setAutoDefault(false);
    CloseButton->setAutoDefault(false);
    StartButton->setEnabled(false);
    CloseButton->setEnabled(false);

    const CaptionTable& captions = ctx.texts.captions;
    setWindowTitle(captionOr(captions, CaptionDialog, QStringLiteral("Download")));
    ListBox1->setToolTip(plainHint(captionOr(captions, HintListBox, {})));
    ProgressBar1->setToolTip(plainHint(captionOr(captions, HintProgressBar, {})));
    StartButton->setText(captionOr(captions, CaptionStart, StartButton->text()));
    StartButton->setToolTip(plainHint(captionOr(captions, HintStart, {})));
    CloseButton->setText(captionOr(captions, CaptionClose, CloseButton->text()));
    CloseButton->setToolTip(plainHint(captionOr(captions, HintClose, {})));

    Timer1.qtimer().setObjectName("Timer1");
    worker_.adopt(Timer1.qtimer());
    connect(StartButton, &QPushButton::clicked, this, [this] { StartButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
}

DownloadDialog::~DownloadDialog() {
    // The sequence and its timer go with the dialog: the worker must be done with them first.
    worker_.stop();
}

void DownloadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateOnceShown(*this, *event, [this] { FormActivate(); });
}

void DownloadDialog::done(int result) {
    worker_.closeDialog(*this, result, [this] { sequence_.FrameClose(); });
}

int DownloadDialog::exec() {
    const int result = QDialog::exec();
    worker_.waitUntilReleased();
    return result;
}

void DownloadDialog::FormActivate() {
    worker_.open([this] { sequence_.FormActivate(); }, [this] { sequence_.FrameClose(); });
}

void DownloadDialog::StartButtonClick() {
    worker_.act([this] { sequence_.StartButtonClick(); });
}

void DownloadDialog::CloseButtonClick() {
    worker_.closeDialog(*this, QDialog::Accepted, [this] { sequence_.CloseButtonClick(); });
}

void DownloadDialog::clearLines() {
    worker_.toWindow([this] { ListBox1->clear(); });
}

void DownloadDialog::addLine(const std::string& text) {
    worker_.toWindow([this, line = dialogText(text)] {
        auto* item = new QListWidgetItem(line);
        item->setSizeHint(QSize(0, ListItemHeight));
        ListBox1->addItem(item);
        ListBox1->scrollToBottom();
    });
}

void DownloadDialog::setProgressMaximum(int maximum) {
    // A range of 0 to 0 would turn the bar into a busy indicator.
    worker_.toWindow([this, maximum] { ProgressBar1->setRange(0, std::max(maximum, 1)); });
}

void DownloadDialog::setProgress(int position) {
    worker_.toWindow([this, position] {
        ProgressBar1->setValue(std::clamp(position, ProgressBar1->minimum(), ProgressBar1->maximum()));
    });
}

void DownloadDialog::setStartEnabled(bool enabled) {
    worker_.toWindow([this, enabled] { StartButton->setEnabled(enabled); });
}

void DownloadDialog::setCloseEnabled(bool enabled) {
    worker_.toWindow([this, enabled] { CloseButton->setEnabled(enabled); });
}

void DownloadDialog::showErrorBox(const std::string& title, const std::string& text) {
    worker_.ask([this, title = dialogText(title), text = dialogText(text)] {
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
