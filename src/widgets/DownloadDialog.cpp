#include "widgets/DownloadDialog.h"

#include "widgets/WindowStyle.h"
#include "widgets/DialogText.h"
#include "widgets/ProcessRunningWarning.h"

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
      sequence_(ctx.link, Timer1, *this, ctx.session, ctx.control, ctx.catalogue, ctx.texts) {
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
    connect(StartButton, &QPushButton::clicked, this, [this] { StartButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
}

DownloadDialog::~DownloadDialog() {
    Timer1.setEnabled(false);
}

void DownloadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateOnceShown(*this, *event, [this] { FormActivate(); });
}

// The close box and Escape come here (QDialog's close event calls reject()).
void DownloadDialog::reject() {
    if (closingBySequence_ || !sequence_.open()) {
        QDialog::reject();
        return;
    }
    sequence_.FrameClose();
}

void DownloadDialog::FormActivate() {
    closingBySequence_ = false;
    sequence_.FormActivate();
}

void DownloadDialog::StartButtonClick() {
    sequence_.StartButtonClick();
}

void DownloadDialog::CloseButtonClick() {
    sequence_.CloseButtonClick();
}

void DownloadDialog::clearLines() {
    ListBox1->clear();
}

void DownloadDialog::addLine(const std::string& text) {
    auto* item = new QListWidgetItem(dialogText(text));
    item->setSizeHint(QSize(0, ListItemHeight));
    ListBox1->addItem(item);
    ListBox1->scrollToBottom();
}

void DownloadDialog::setProgressMaximum(int maximum) {
    // A range of 0 to 0 would turn the bar into a busy indicator.
    ProgressBar1->setRange(0, std::max(maximum, 1));
}

void DownloadDialog::setProgress(int position) {
    ProgressBar1->setValue(std::clamp(position, ProgressBar1->minimum(), ProgressBar1->maximum()));
}

void DownloadDialog::setStartEnabled(bool enabled) {
    StartButton->setEnabled(enabled);
}

void DownloadDialog::setCloseEnabled(bool enabled) {
    CloseButton->setEnabled(enabled);
}

void DownloadDialog::showErrorBox(const std::string& title, const std::string& text) {
    errors_.show(this, dialogText(title), dialogText(text), ErrorDisplay::Icon::Error, true);
}

void DownloadDialog::showProcessRunningWarning() {
    if (windows_.warning != nullptr)
        windows_.warning->exec();
}

void DownloadDialog::closeDialog() {
    closingBySequence_ = true;
    done(QDialog::Accepted);
}

} // namespace trv
