#include "widgets/StatusDialog.h"

#include "widgets/DialogText.h"
#include "widgets/DownloadDialog.h"
#include "widgets/WindowStyle.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace trv {

namespace {

// CaptionTable entries applied when the dialog is created.
constexpr int CaptionDialog = 14;
constexpr int CaptionGroupBox1 = 15;
constexpr int HintListBox1 = 16;
constexpr int CaptionGroupBox2 = 17;
constexpr int CaptionTotalLabels = 18;
constexpr int CaptionRemainingLabels = 19;
constexpr int CaptionGroupBox3 = 20;
constexpr int HintListBox2 = 21;
constexpr int HintListBox3 = 22;
constexpr int HintListBox4 = 23;
constexpr int HintListBox5 = 24;
constexpr int CaptionLabel5 = 25;
constexpr int HintListBox6 = 26;
constexpr int CaptionLabel6 = 29;
constexpr int HintPowerBar = 30;
constexpr int CaptionClose = 31;
constexpr int HintClose = 32;
constexpr int CaptionLabel7 = 33;
constexpr int HintProgressBar = 34;

QListWidget* listBox(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(left, top, width, height);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& text) {
    auto* l = plainLabel(new QLabel(text, parent));
    l->setObjectName(name);
    l->move(left, top);
    return l;
}

QGroupBox* groupBox(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text) {
    auto* box = new QGroupBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(left, top, width, height);
    return box;
}

QProgressBar* progressBar(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setGeometry(left, top, width, height);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QPushButton* button(QWidget* parent, const char* name, int left, int top, int width, int height, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(left, top, width, height);
    b->setAutoDefault(false);
    return b;
}

} // namespace

StatusDialog::StatusDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent)
    : QDialog(parent), ctx_(ctx), errors_(errors), windows_(windows),
      sequence_(ctx.link, Timer1, *this, ctx.session, ctx.catalogue, ctx.texts),
      worker_(QStringLiteral("StatusWorker")) {
    setObjectName("TFormStat");
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFont(dialogFont(13));
    setWindowBackground(*this, DesignBackground);

    // Declared in the design's order, so the tab order follows it.
    GroupBox1 = groupBox(this, "GroupBox1", 8, 8, 369, 201, QStringLiteral(" Program "));
    ListBox1 = listBox(GroupBox1, "ListBox1", 8, 16, 353, 177);
    GroupBox2 = groupBox(this, "GroupBox2", 8, 216, 177, 89, QStringLiteral(" Whole program "));
    ListBox2 = listBox(GroupBox2, "ListBox2", 112, 24, 49, 21);
    ListBox3 = listBox(GroupBox2, "ListBox3", 112, 56, 49, 21);
    Label1 = label(GroupBox2, "Label1", 8, 24, QStringLiteral("Total time:"));
    Label2 = label(GroupBox2, "Label2", 8, 56, QStringLiteral("Remaining time:"));
    GroupBox3 = groupBox(this, "GroupBox3", 200, 215, 177, 89, QStringLiteral(" Actual item "));
    ListBox4 = listBox(GroupBox3, "ListBox4", 112, 24, 49, 21);
    ListBox5 = listBox(GroupBox3, "ListBox5", 112, 56, 49, 21);
    Label3 = label(GroupBox3, "Label3", 8, 24, QStringLiteral("Total time:"));
    Label4 = label(GroupBox3, "Label4", 8, 56, QStringLiteral("Remaining time:"));
    ListBox6 = listBox(this, "ListBox6", 64, 320, 169, 25);
    Label5 = label(this, "Label5", 8, 324, QStringLiteral("Status:"));
    Label6 = label(this, "Label6", 8, 380, QStringLiteral("Power:"));
    Label7 = label(this, "Label7", 8, 416, QStringLiteral("Progress:"));
    PowerProgressBar = progressBar(this, "PowerProgressBar", 72, 376, 161, 25);
    ProgProgressBar = progressBar(this, "ProgProgressBar", 8, 440, 369, 25);
    Timer1.qtimer().setObjectName("Timer1");
    worker_.adopt(Timer1.qtimer());
    WRCButton = button(this, "WRCButton", 280, 320, 97, 33, QStringLiteral("Wait"));
    CloseButton = button(this, "CloseButton", 280, 368, 97, 33, QStringLiteral("Close"));
    for (QListWidget* list : {ListBox2, ListBox3, ListBox4, ListBox5, ListBox6}) {
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        // A time such as "  62:05" must show whole in its 49-pixel box, never as "62...".
        list->setTextElideMode(Qt::ElideNone);
    }
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5, Label6, Label7})
        l->adjustSize();

    const CaptionTable& captions = ctx.texts.captions;
    const auto caption = [&](QWidget* widget, int entry) {
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(captionOr(captions, entry, box->title()));
        else if (auto* l = qobject_cast<QLabel*>(widget))
            l->setText(captionOr(captions, entry, l->text())), l->adjustSize();
        else if (auto* b = qobject_cast<QPushButton*>(widget))
            b->setText(captionOr(captions, entry, b->text()));
    };
    const auto hint = [&](QWidget* widget, int entry) {
        widget->setToolTip(plainHint(captionOr(captions, entry, {})));
    };
    setWindowTitle(captionOr(captions, CaptionDialog, QStringLiteral("Device Status")));
    caption(GroupBox1, CaptionGroupBox1);
    hint(ListBox1, HintListBox1);
    caption(GroupBox2, CaptionGroupBox2);
    caption(Label1, CaptionTotalLabels);
    caption(Label3, CaptionTotalLabels);
    caption(Label2, CaptionRemainingLabels);
    caption(Label4, CaptionRemainingLabels);
    caption(GroupBox3, CaptionGroupBox3);
    hint(ListBox2, HintListBox2);
    hint(ListBox3, HintListBox3);
    hint(ListBox4, HintListBox4);
    hint(ListBox5, HintListBox5);
    caption(Label5, CaptionLabel5);
    hint(ListBox6, HintListBox6);
    caption(Label6, CaptionLabel6);
    hint(PowerProgressBar, HintPowerBar);
    caption(CloseButton, CaptionClose);
    hint(CloseButton, HintClose);
    caption(Label7, CaptionLabel7);
    hint(ProgProgressBar, HintProgressBar);
    WRCButton->setEnabled(false);

    connect(WRCButton, &QPushButton::clicked, this, [this] { WRCButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
}

StatusDialog::~StatusDialog() {
    // The sequence and its timer go with the dialog: the worker must be done with them first.
    worker_.stop();
}

void StatusDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateOnceShown(*this, *event, [this] { FormActivate(); });
}

// The close box and Escape (through reject()): the timer stops, the link stays open.
void StatusDialog::done(int result) {
    worker_.closeDialog(*this, result, [this] { sequence_.FrameClose(); });
}

int StatusDialog::exec() {
    const int result = QDialog::exec();
    worker_.waitUntilReleased();
    return result;
}

void StatusDialog::FormActivate() {
    worker_.open([this] { sequence_.FormActivate(); }, [this] { sequence_.FrameClose(); });
}

void StatusDialog::CloseButtonClick() {
    worker_.closeDialog(*this, QDialog::Accepted, [this] { sequence_.CloseButtonClick(); });
}

void StatusDialog::WRCButtonClick() {
    // The click means the caption the user saw: a step between the click and its turn on the
    // worker may have disabled the button or turned Wait into Continue, or Wait into Resume.
    const WrcMode seen = shown_.wrcMode();
    worker_.act([this, seen] {
        const StatusDisplay& now = sequence_.display();
        if (now.wrcEnabled() && now.wrcMode() == seen)
            sequence_.WRCButtonClick();
        else
            showDisplay(now);
    });
}

void StatusDialog::showDisplay(const StatusDisplay& display) {
    worker_.toWindow([this, display] { showOnWindow(display); });
}

void StatusDialog::showOnWindow(StatusDisplay incoming) {
    shown_ = std::move(incoming);
    const StatusDisplay& display = shown_;
    QListWidget* lists[StatusDisplay::ListCount] = {ListBox1, ListBox2, ListBox3, ListBox4, ListBox5, ListBox6};
    for (int k = 0; k < StatusDisplay::ListCount; ++k) {
        const auto which = static_cast<StatusDisplay::List>(k);
        if (shownRevisions_[k] == display.revision(which))
            continue;
        shownRevisions_[k] = display.revision(which);
        lists[k]->clear();
        for (const std::string& line : display.lines(which))
            lists[k]->addItem(dialogText(line));
    }
    const int highlighted = display.highlightedLine();
    if (highlighted >= 0 && highlighted < ListBox1->count()) {
        ListBox1->setCurrentRow(highlighted);
    } else {
        ListBox1->clearSelection();
        ListBox1->setCurrentRow(-1);
    }
    PowerProgressBar->setValue(display.powerBar());
    ProgProgressBar->setValue(display.progressBar());
    // The design's words while no caption file has filled the entries.
    static const char* const designCaptions[] = {"Wait", "Wait", "Continue", "Resume"};
    const std::string& wrcCaption = display.wrcCaption();
    WRCButton->setText(wrcCaption.empty() ? QString::fromLatin1(designCaptions[static_cast<int>(display.wrcMode())])
                                          : dialogText(wrcCaption));
    WRCButton->setToolTip(plainHint(dialogText(display.wrcHint())));
    WRCButton->setEnabled(display.wrcEnabled());
}

void StatusDialog::showVersionRefusal(const std::string& title, const std::string& text) {
    worker_.ask([this, title = dialogText(title), text = dialogText(text)] {
        errors_.show(this, title, text, ErrorDisplay::Icon::Stop, false);
    });
}

void StatusDialog::openDownloadDialog() {
    // This step waits here while the Download dialog runs its own sequence on its own worker.
    worker_.ask([this] {
        if (windows_.download != nullptr)
            windows_.download->exec();
    });
}

void StatusDialog::closeDialog() {
    worker_.finish([this] { QDialog::done(QDialog::Accepted); });
}

} // namespace trv
