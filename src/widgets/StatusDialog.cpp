#include "widgets/StatusDialog.h"

#include "data/CaptionNumbers.h"
#include "widgets/DialogText.h"
#include "widgets/DownloadDialog.h"
#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace trv {

namespace {

namespace design {
using namespace caption;
constexpr WindowDesign Window{
    "TFormStat", {StatusDialog::ClientWidth, StatusDialog::ClientHeight}, {StatusTitle, "Device Status"}};
constexpr ControlDesign GroupBox1{"GroupBox1", {8, 8, 369, 201}, {StatusProgramGroup, " Program "}};
constexpr ControlDesign ListBox1{"ListBox1", {8, 16, 353, 177}, {}, {StatusProgramListHint}};
constexpr ControlDesign GroupBox2{"GroupBox2", {8, 216, 177, 89}, {StatusWholeGroup, " Whole program "}};
constexpr ControlDesign ListBox2{"ListBox2", {112, 24, 49, 21}, {}, {StatusWholeTotalHint}};
constexpr ControlDesign ListBox3{"ListBox3", {112, 56, 49, 21}, {}, {StatusWholeRemainingHint}};
constexpr ControlDesign Label1{"Label1", {8, 24, 0, 0}, {StatusTotalTime, "Total time:"}};
constexpr ControlDesign Label2{"Label2", {8, 56, 0, 0}, {StatusRemainingTime, "Remaining time:"}};
constexpr ControlDesign GroupBox3{"GroupBox3", {200, 215, 177, 89}, {StatusItemGroup, " Actual item "}};
constexpr ControlDesign ListBox4{"ListBox4", {112, 24, 49, 21}, {}, {StatusItemTotalHint}};
constexpr ControlDesign ListBox5{"ListBox5", {112, 56, 49, 21}, {}, {StatusItemRemainingHint}};
constexpr ControlDesign Label3{"Label3", {8, 24, 0, 0}, {StatusTotalTime, "Total time:"}};
constexpr ControlDesign Label4{"Label4", {8, 56, 0, 0}, {StatusRemainingTime, "Remaining time:"}};
constexpr ControlDesign ListBox6{"ListBox6", {64, 320, 169, 25}, {}, {StatusStateHint}};
constexpr ControlDesign Label5{"Label5", {8, 324, 0, 0}, {StatusState, "Status:"}};
constexpr ControlDesign Label6{"Label6", {8, 380, 0, 0}, {StatusPower, "Power:"}};
constexpr ControlDesign Label7{"Label7", {8, 416, 0, 0}, {StatusProgress, "Progress:"}};
constexpr ControlDesign PowerProgressBar{"PowerProgressBar", {72, 376, 161, 25}, {}, {StatusPowerHint}};
constexpr ControlDesign ProgProgressBar{"ProgProgressBar", {8, 440, 369, 25}, {}, {StatusProgressHint}};
// Its text and hint follow the device's state.
constexpr ControlDesign WRCButton{"WRCButton", {280, 320, 97, 33}, {NoCaption, "Wait"}};
constexpr ControlDesign CloseButton{"CloseButton", {280, 368, 97, 33}, {StatusClose, "Close"}, {StatusCloseHint}};
} // namespace design

// The lists show their lines whole, without a horizontal scroll bar; the five one-line lists are
// read-only and clip rather than elide.
QListWidget* list(const WindowBuilder& build, QWidget* parent, const ControlDesign& design, bool oneLine) {
    auto* list = build.make<QListWidget>(parent, design);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (oneLine) {
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        // A time such as "  62:05" must show whole in its 49-pixel box, never as "62...".
        list->setTextElideMode(Qt::ElideNone);
    }
    return list;
}

QProgressBar* bar(const WindowBuilder& build, QWidget* parent, const ControlDesign& design) {
    auto* bar = build.make<QProgressBar>(parent, design);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

} // namespace

// The close box and Escape (through reject()) end with FrameClose: the timer stops, the link stays open.
StatusDialog::StatusDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent)
    : WorkerDialog(
          worker_, [this] { sequence_.FormActivate(); }, [this] { sequence_.FrameClose(); }, parent),
      ctx_(ctx), errors_(errors), windows_(windows),
      sequence_(ctx.link, Timer1, *this, ctx.session, ctx.catalogue, ctx.texts),
      worker_(QStringLiteral("StatusWorker")) {
    const WindowBuilder build(*this, &ctx.texts.captions);
    build.frame(design::Window, DialogFont(13));
    // Made in the design's order, so the tab order follows it.
    auto* programGroup = build.make<QGroupBox>(this, design::GroupBox1);
    programList_ = list(build, programGroup, design::ListBox1, false);
    auto* wholeGroup = build.make<QGroupBox>(this, design::GroupBox2);
    wholeTotalList_ = list(build, wholeGroup, design::ListBox2, true);
    wholeRemainingList_ = list(build, wholeGroup, design::ListBox3, true);
    build.make<QLabel>(wholeGroup, design::Label1);
    build.make<QLabel>(wholeGroup, design::Label2);
    auto* itemGroup = build.make<QGroupBox>(this, design::GroupBox3);
    itemTotalList_ = list(build, itemGroup, design::ListBox4, true);
    itemRemainingList_ = list(build, itemGroup, design::ListBox5, true);
    build.make<QLabel>(itemGroup, design::Label3);
    build.make<QLabel>(itemGroup, design::Label4);
    stateList_ = list(build, this, design::ListBox6, true);
    build.make<QLabel>(this, design::Label5);
    build.make<QLabel>(this, design::Label6);
    build.make<QLabel>(this, design::Label7);
    powerBar_ = bar(build, this, design::PowerProgressBar);
    progressBar_ = bar(build, this, design::ProgProgressBar);
    Timer1.qtimer().setObjectName("Timer1");
    worker_.adopt(Timer1.qtimer());
    waitResumeButton_ = build.button(this, design::WRCButton, [this] { WRCButtonClick(); });
    closeButton_ = build.button(this, design::CloseButton, [this] { CloseButtonClick(); });
    waitResumeButton_->setEnabled(false);
}

StatusDialog::~StatusDialog() {
    // The sequence and its timer go with the dialog: the worker must be done with them first.
    worker_.stop();
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
    QListWidget* lists[StatusDisplay::ListCount] = {programList_,   wholeTotalList_,    wholeRemainingList_,
                                                    itemTotalList_, itemRemainingList_, stateList_};
    for (int k = 0; k < StatusDisplay::ListCount; ++k) {
        const auto which = static_cast<StatusDisplay::List>(k);
        if (shownRevisions_[k] == display.revision(which))
            continue;
        shownRevisions_[k] = display.revision(which);
        lists[k]->clear();
        for (const std::string& line : display.lines(which))
            lists[k]->addItem(DialogText(line));
    }
    const int highlighted = display.highlightedLine();
    if (highlighted >= 0 && highlighted < programList_->count()) {
        programList_->setCurrentRow(highlighted);
    } else {
        programList_->clearSelection();
        programList_->setCurrentRow(-1);
    }
    powerBar_->setValue(display.powerBar());
    progressBar_->setValue(display.progressBar());
    // The design's words while no caption file has filled the entries.
    static const char* const designCaptions[] = {"Wait", "Wait", "Continue", "Resume"};
    const std::string& wrcCaption = display.wrcCaption();
    waitResumeButton_->setText(wrcCaption.empty()
                                   ? QString::fromLatin1(designCaptions[static_cast<int>(display.wrcMode())])
                                   : DialogText(wrcCaption));
    waitResumeButton_->setToolTip(PlainHint(DialogText(display.wrcHint())));
    waitResumeButton_->setEnabled(display.wrcEnabled());
}

void StatusDialog::showVersionRefusal(const std::string& title, const std::string& text) {
    worker_.ask([this, title = DialogText(title), text = DialogText(text)] {
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
