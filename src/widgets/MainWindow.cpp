#include "widgets/MainWindow.h"

#include "data/BuiltinMessages.h"
#include "data/MessageNumbers.h"
#include "widgets/DeviceWorker.h"
#include "widgets/DialogText.h"
#include "widgets/DownloadDialog.h"
#include "widgets/FlagImage.h"
#include "widgets/LanguageDialog.h"
#include "widgets/SelfTestWarning.h"
#include "widgets/StatusDialog.h"
#include "widgets/UpDown.h"
#include "widgets/WindowBuilder.h"
#include "widgets/WindowStyle.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>

namespace trv {

const char* const MainWindow::Caption =
    "Vorlix Session Protocols Ulmaro Dex 1.2 - Trivane Pocket Treatment Composer (Temporary Version 1.4)";

namespace {

namespace design {
const WindowDesign Window{
    "FormMain", {MainWindow::ClientWidth, MainWindow::ClientHeight}, {NoCaption, MainWindow::Caption}};

// The pages at the bottom left. Their texts are the design's until the language's lines fill them.
constexpr ControlDesign ProgPC{"ProgPC", {8, 8, 505, 537}};
constexpr ControlDesign ProtocolTS{"ProtocolTS", {}, {NoCaption, "Protocols"}};
constexpr ControlDesign ProtocolGB{"ProtocolGB", {0, 0, 289, 321}, {NoCaption, "Protocols"}};
constexpr ControlDesign ProtocolTW{"ProtocolTW", {16, 16, 273, 297}};
constexpr ControlDesign ProtocolTRVGB{"ProtocolTRVGB", {0, 320, 497, 177}, {NoCaption, "Trivane Pocket programs"}};
constexpr ControlDesign ProtocolTRVLB{"ProtocolTRVLB", {8, 16, 481, 153}};
constexpr ControlDesign ElectrodeGB{"ElectrodeGB", {296, 0, 193, 321}, {NoCaption, "Electrodes"}};
constexpr ControlDesign LabelA{"LabelA", {8, 24, 0, 0}, {NoCaption, "Input A"}};
constexpr ControlDesign ALB{"ALB", {8, 40, 177, 33}};
constexpr ControlDesign LabelB{"LabelB", {8, 88, 0, 0}, {NoCaption, "Input B"}};
constexpr ControlDesign BLB{"BLB", {8, 104, 177, 33}};
constexpr ControlDesign LabelC{"LabelC", {8, 152, 0, 0}, {NoCaption, "Output C"}};
constexpr ControlDesign CLB{"CLB", {8, 168, 177, 33}};
constexpr ControlDesign SessionTS{"SessionTS", {}, {NoCaption, "Sessions"}};
constexpr ControlDesign SessionGB{"SessionGB", {0, 0, 497, 321}, {NoCaption, "Session list"}};
constexpr ControlDesign SessionLB{"SessionLB", {8, 16, 481, 297}};
constexpr ControlDesign SessionTRVGB{"SessionTRVGB", {0, 320, 497, 177}, {NoCaption, "Trivane Pocket programs"}};
constexpr ControlDesign SessionTRVLB{"SessionTRVLB", {8, 16, 481, 153}};
constexpr ControlDesign ProgTS{"ProgTS", {}, {NoCaption, "TRV programs"}};
constexpr ControlDesign ListGroup{"ListGroup", {0, 0, 497, 497}, {NoCaption, "Trivane Pocket programs"}};
constexpr ControlDesign ProgListBox{"ProgListBox", {8, 16, 481, 473}};

// The control program and what edits it, top right.
constexpr ControlDesign ControlGroup{"ControlGroup", {520, 8, 257, 233}, {NoCaption, "Control"}};
constexpr ControlDesign ControlListBox{
    "ControlListBox", {8, 16, 241, 185}, {}, {NoCaption, "Controlling program of the treatment."}};
constexpr ControlDesign TimeLabel{"TimeLabel", {128, 211, 0, 0}, {NoCaption, "Total Time:"}};
constexpr ControlDesign TimeList{"TimeList", {208, 209, 39, 20}, {}, {NoCaption, "Total time of the control program."}};
constexpr ControlDesign ACButton{"ACButton",
                                 {520, 248, 121, 33},
                                 {NoCaption, "<< Add to Control"},
                                 {NoCaption, "Add the selected program to the control."}};
constexpr ControlDesign DelButton{"DelButton",
                                  {656, 248, 121, 33},
                                  {NoCaption, "Delete"},
                                  {NoCaption, "Delete the selected line of the control program."}};
constexpr ControlDesign APButton{
    "APButton", {520, 296, 121, 33}, {NoCaption, "Add Pause"}, {NoCaption, "Add pause to the control program."}};
constexpr ControlDesign Label1{"Label1", {656, 288, 0, 0}, {NoCaption, "Min"}};
constexpr ControlDesign EditMin{
    "EditMin", {656, 304, 33, 24}, {NoCaption, "1"}, {NoCaption, "Minutes of the pause time."}};
constexpr ControlDesign UpDownMin{"UpDownMin", {689, 304, 15, 24}};
constexpr ControlDesign Label2{"Label2", {728, 288, 0, 0}, {NoCaption, "Sec"}};
constexpr ControlDesign EditSec{
    "EditSec", {728, 304, 33, 24}, {NoCaption, "0"}, {NoCaption, "Seconds of the pause time."}};
constexpr ControlDesign UpDownSec{"UpDownSec", {761, 304, 15, 24}};
constexpr ControlDesign AWButton{"AWButton",
                                 {520, 336, 121, 33},
                                 {NoCaption, "Add Wait"},
                                 {NoCaption, "Add handy interruptible waiting to the control."}};
constexpr ControlDesign NewButton{
    "NewButton", {656, 336, 121, 33}, {NoCaption, "New Program"}, {NoCaption, "Clear the total control program."}};

// The device, the language and the list order, bottom right.
constexpr ControlDesign TestButton{"TestButton", {522, 401, 75, 25}, {NoCaption, "Test"}};
constexpr ControlDesign FlagImage{"FlagImage", {603, 400, 38, 25}, {}, {NoCaption, "Select language"}};
constexpr ControlDesign DlButton{"DlButton",
                                 {656, 401, 121, 33},
                                 {NoCaption, "Download"},
                                 {NoCaption, "Download the control program to the TRV equipment."}};
constexpr ControlDesign LOGroupBox{"LOGroupBox", {520, 432, 121, 81}, {NoCaption, "List Order"}};
constexpr ControlDesign NumRB{"NumRB", {8, 24, 105, 17}, {NoCaption, "Numerical"}};
constexpr ControlDesign AlphaRB{"AlphaRB", {8, 48, 105, 17}, {NoCaption, "Alphabetical"}};
constexpr ControlDesign StatButton{"StatButton",
                                   {656, 440, 121, 33},
                                   {NoCaption, "Status"},
                                   {NoCaption, "Get the actual status of the TRV equipment."}};
constexpr ControlDesign ExitButton{
    "ExitButton", {656, 480, 121, 33}, {NoCaption, "Exit"}, {NoCaption, "Exit from program."}};
} // namespace design

QListWidget* listBox(const WindowBuilder& build, QWidget* parent, const ControlDesign& design) {
    auto* list = build.make<QListWidget>(parent, design);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// A list that only ever holds one line (the electrode and total time lists).
QListWidget* oneLineList(const WindowBuilder& build, QWidget* parent, const ControlDesign& design) {
    QListWidget* list = listBox(build, parent, design);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFocusPolicy(Qt::NoFocus);
    return list;
}

void setLines(QListWidget& list, const std::vector<std::string>& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        texts.append(DialogText(line));
    const QSignalBlocker blocker(list);
    list.clear();
    // In one insertion: line by line, the view takes every line in on its own.
    list.addItems(texts);
}

// The line selected in a list, -1 when none is.
int selectedLine(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.first());
}

// Restores a control's normal pointer however the handler that changed it ends.
class PointerGuard {
public:
    explicit PointerGuard(QWidget& widget) : widget_(widget) { widget_.setCursor(Qt::WaitCursor); }
    ~PointerGuard() { widget_.unsetCursor(); }
    PointerGuard(const PointerGuard&) = delete;
    PointerGuard& operator=(const PointerGuard&) = delete;

private:
    QWidget& widget_;
};

} // namespace

MainWindow::MainWindow(AppContext& context, ErrorDisplay& errors, AppWindows& windows, QWidget* parent,
                       QuitApplication quit, const StartupFilesSource& startupFiles)
    : QWidget(parent), context_(context), errors_(errors), windows_(windows), quit_(std::move(quit)),
      flagCheck_(std::make_unique<FlagDecoder>(flagError_)), controller_(context, *this) {
    buildWindow();
    connectEvents();
    controller_.Start(startupFiles ? startupFiles() : ReadStartupFiles(context.folder));
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow() {
    // The main window's texts come from the language's own lines (applyMainTexts), not the dialogs' table.
    const WindowBuilder build(*this, nullptr);
    build.frame(design::Window, MainWindowFont());
    buildPages(build);
    buildComposing(build);
    buildDeviceControls(build);
}

void MainWindow::buildPages(const WindowBuilder& build) {
    pages_ = build.make<QTabWidget>(this, design::ProgPC);
    pages_->setTabPosition(QTabWidget::South);

    // The pages are made on their own and then handed to the tab widget, as the design has it.
    auto* protocolPage = build.make<QWidget>(nullptr, design::ProtocolTS);
    auto* protocolGroup = build.make<QGroupBox>(protocolPage, design::ProtocolGB);
    protocolTree_ = build.make<QTreeWidget>(protocolGroup, design::ProtocolTW);
    protocolTree_->setHeaderHidden(true);
    protocolTree_->setColumnCount(1);
    auto* protocolProgramGroup = build.make<QGroupBox>(protocolPage, design::ProtocolTRVGB);
    protocolProgramList_ = listBox(build, protocolProgramGroup, design::ProtocolTRVLB);
    auto* electrodeGroup = build.make<QGroupBox>(protocolPage, design::ElectrodeGB);
    build.make<QLabel>(electrodeGroup, design::LabelA);
    inputAList_ = oneLineList(build, electrodeGroup, design::ALB);
    build.make<QLabel>(electrodeGroup, design::LabelB);
    inputBList_ = oneLineList(build, electrodeGroup, design::BLB);
    build.make<QLabel>(electrodeGroup, design::LabelC);
    outputCList_ = oneLineList(build, electrodeGroup, design::CLB);

    auto* sessionPage = build.make<QWidget>(nullptr, design::SessionTS);
    auto* sessionGroup = build.make<QGroupBox>(sessionPage, design::SessionGB);
    sessionList_ = listBox(build, sessionGroup, design::SessionLB);
    auto* sessionProgramGroup = build.make<QGroupBox>(sessionPage, design::SessionTRVGB);
    sessionProgramList_ = listBox(build, sessionProgramGroup, design::SessionTRVLB);

    auto* programPage = build.make<QWidget>(nullptr, design::ProgTS);
    auto* programGroup = build.make<QGroupBox>(programPage, design::ListGroup);
    programList_ = listBox(build, programGroup, design::ProgListBox);

    pages_->addTab(protocolPage, build.text(design::ProtocolTS.text));
    pages_->addTab(sessionPage, build.text(design::SessionTS.text));
    pages_->addTab(programPage, build.text(design::ProgTS.text));
    // The sessions page keeps its handlers, but its tab is never offered.
    pages_->setTabVisible(pages_->indexOf(sessionPage), false);
    pages_->setCurrentWidget(protocolPage);
}

void MainWindow::buildComposing(const WindowBuilder& build) {
    auto* controlGroup = build.make<QGroupBox>(this, design::ControlGroup);
    controlList_ = listBox(build, controlGroup, design::ControlListBox);
    build.make<QLabel>(controlGroup, design::TimeLabel);
    totalTimeList_ = oneLineList(build, controlGroup, design::TimeList);
    // The design's width just holds "00:00": clip rather than elide a longer total.
    totalTimeList_->setTextElideMode(Qt::ElideNone);

    addButton_ = build.make<QPushButton>(this, design::ACButton);
    deleteButton_ = build.make<QPushButton>(this, design::DelButton);
    deleteButton_->setEnabled(false);
    addPauseButton_ = build.make<QPushButton>(this, design::APButton);

    build.make<QLabel>(this, design::Label1);
    pauseMinutes_ = build.make<QLineEdit>(this, design::EditMin);
    build.make<UpDown>(this, design::UpDownMin, *pauseMinutes_, 0, MaxPauseMinutes);
    build.make<QLabel>(this, design::Label2);
    pauseSeconds_ = build.make<QLineEdit>(this, design::EditSec);
    build.make<UpDown>(this, design::UpDownSec, *pauseSeconds_, 0, MaxPauseSeconds);

    addWaitButton_ = build.make<QPushButton>(this, design::AWButton);
    newButton_ = build.make<QPushButton>(this, design::NewButton);
    newButton_->setEnabled(false);
}

void MainWindow::buildDeviceControls(const WindowBuilder& build) {
    testButton_ = build.make<QPushButton>(this, design::TestButton);
    flag_ = build.make<FlagImageLabel>(this, design::FlagImage, flagError_);
    downloadButton_ = build.make<QPushButton>(this, design::DlButton);
    downloadButton_->setEnabled(false);

    auto* orderGroup = build.make<QGroupBox>(this, design::LOGroupBox);
    numericalOrder_ = build.make<QRadioButton>(orderGroup, design::NumRB);
    numericalOrder_->setChecked(true);
    alphabeticalOrder_ = build.make<QRadioButton>(orderGroup, design::AlphaRB);

    statusButton_ = build.make<QPushButton>(this, design::StatButton);
    exitButton_ = build.make<QPushButton>(this, design::ExitButton);
}

void MainWindow::connectEvents() {
    connect(exitButton_, &QPushButton::clicked, this, &MainWindow::ExitButtonClick);
    // Exit is taken while a closed dialog's step ends; it waits for the step.
    DeviceWorker::allowWhileBusy(*exitButton_);
    connect(downloadButton_, &QPushButton::clicked, this, &MainWindow::DlButtonClick);
    connect(testButton_, &QPushButton::clicked, this, &MainWindow::TestButtonClick);
    connect(statusButton_, &QPushButton::clicked, this, &MainWindow::StatButtonClick);
    connect(addButton_, &QPushButton::clicked, this, &MainWindow::ACButtonClick);
    connect(programList_, &QListWidget::itemDoubleClicked, this, &MainWindow::ProgLBDoubleClick);
    connect(addPauseButton_, &QPushButton::clicked, this, &MainWindow::APButtonClick);
    connect(addWaitButton_, &QPushButton::clicked, this, &MainWindow::AWButtonClick);
    connect(deleteButton_, &QPushButton::clicked, this, &MainWindow::DelButtonClick);
    connect(newButton_, &QPushButton::clicked, this, &MainWindow::NewButtonClick);
    // The keyboard moves the selection too; the control program must follow whatever is selected.
    connect(controlList_, &QListWidget::currentRowChanged, this, &MainWindow::ControlLB1Click);
    connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::ProgPCChange);
    connect(protocolTree_, &QTreeWidget::itemClicked, this, &MainWindow::ProtocolTWClick);
    connect(protocolTree_, &QTreeWidget::currentItemChanged, this, &MainWindow::ProtocolTWClick);
    connect(protocolTree_, &QTreeWidget::itemDoubleClicked, this, &MainWindow::ProtocolTWDblClick);
    connect(sessionList_, &QListWidget::itemClicked, this, &MainWindow::SessionLBClick);
    connect(sessionList_, &QListWidget::currentRowChanged, this, &MainWindow::SessionLBClick);
    connect(sessionList_, &QListWidget::itemDoubleClicked, this, &MainWindow::SessionLBDblClick);
    connect(numericalOrder_, &QRadioButton::clicked, this, &MainWindow::NumRBClick);
    connect(alphabeticalOrder_, &QRadioButton::clicked, this, &MainWindow::AlphaRBClick);
    connect(flag_, &FlagImageLabel::clicked, this, &MainWindow::FlagImageClick);
}

// --- event handlers ---

void MainWindow::ExitButtonClick() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A dialog closed in the middle of a step leaves its worker in the link for up to the step's
    // own bound: the device is closed after the worker has left it.
    if (DeviceWorker::deviceInUse()) {
        event->ignore();
        if (!closePending_) {
            closePending_ = true;
            DeviceWorker::whenDeviceFree(this, [this] {
                closePending_ = false;
                close();
            });
        }
        return;
    }
    if (!closedDown_) {
        closedDown_ = true;
        // A settings file that can't be written is lost without a word, as the user expects no question here.
        controller_.CloseDown();
    }
    event->accept();
    quitApplication(0);
}

void MainWindow::openStatusIfStarted() {
    if (!context_.session.startPending && windows_.status != nullptr)
        windows_.status->exec();
}

void MainWindow::DlButtonClick() {
    if (windows_.download == nullptr || DeviceWorker::deviceInUse())
        return;
    const PointerGuard pointer(*downloadButton_);
    controller_.PrepareDownload();
    windows_.download->exec();
    openStatusIfStarted();
}

void MainWindow::TestButtonClick() {
    if (windows_.selfTestWarning == nullptr || windows_.download == nullptr || DeviceWorker::deviceInUse())
        return;
    windows_.selfTestWarning->exec();
    if (!context_.session.selfTestFlag)
        return;
    // The composed program comes back however the self-test ends.
    struct Restore {
        MainController& controller;
        ControlProgram::Snapshot composed;
        ~Restore() { controller.EndSelfTest(composed); }
    } restore{controller_, controller_.PrepareSelfTest()};
    windows_.download->exec();
    openStatusIfStarted();
}

void MainWindow::StatButtonClick() {
    if (windows_.status != nullptr && !DeviceWorker::deviceInUse())
        windows_.status->exec();
}

void MainWindow::ACButtonClick() {
    controller_.ACButtonClick(selectedLine(*programList_), selectedLine(*sessionList_));
}

void MainWindow::ProgLBDoubleClick() {
    controller_.ProgLBDoubleClick(selectedLine(*programList_));
}

void MainWindow::APButtonClick() {
    controller_.APButtonClick(pauseMinutes_->text().toStdString(), pauseSeconds_->text().toStdString());
}

void MainWindow::AWButtonClick() {
    controller_.AWButtonClick();
}

void MainWindow::DelButtonClick() {
    controller_.DelButtonClick();
}

void MainWindow::NewButtonClick() {
    controller_.NewButtonClick();
}

void MainWindow::ControlLB1Click() {
    controller_.ControlLB1Click(controlList_->currentRow());
}

void MainWindow::ProgPCChange(int page) {
    controller_.ProgPCChange(page);
}

void MainWindow::ProtocolTWClick() {
    QTreeWidgetItem* item = protocolTree_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    QTreeWidgetItem* parentItem = item->parent();
    const int position = parentItem == nullptr
                             ? controller_.protocolTexts().treePosition(protocolTree_->indexOfTopLevelItem(item))
                             : controller_.protocolTexts().treePosition(protocolTree_->indexOfTopLevelItem(parentItem),
                                                                        parentItem->indexOfChild(item));
    controller_.ProtocolTWClick(position);
}

void MainWindow::ProtocolTWDblClick() {
    controller_.ProtocolTWDblClick();
}

void MainWindow::SessionLBClick() {
    controller_.SessionLBClick(selectedLine(*sessionList_));
}

void MainWindow::SessionLBDblClick() {
    controller_.SessionLBDblClick(selectedLine(*sessionList_));
}

void MainWindow::NumRBClick() {
    controller_.NumRBClick();
}

void MainWindow::AlphaRBClick() {
    controller_.AlphaRBClick();
}

void MainWindow::FlagImageClick() {
    // A new dialog every time; the one made at start-up stays unused.
    LanguageDialog dialog(context_.folder, controller_.languageName());
    dialog.exec();
    if (!dialog.confirmed())
        return;
    controller_.ChangeLanguage(dialog.languageName());
    Q_EMIT languageChanged();
}

// --- MainView ---

FlagPicture& MainWindow::flagPicture() {
    return *flag_;
}

FlagPicture& MainWindow::flagCheck() {
    return *flagCheck_;
}

void MainWindow::showFlagError() {
    ShowStandardError(errors_, this, flagError_);
}

void MainWindow::ShowError(int message) {
    const MessageTable& messages = context_.texts.messages;
    errors_.show(this, DialogText(MessageText(messages, msg::ErrorTitle)), DialogText(MessageText(messages, message)),
                 ErrorDisplay::Icon::Error, true);
}

void MainWindow::showStandardError(const std::string& text) {
    ShowStandardError(errors_, this, QString::fromStdString(text));
}

void MainWindow::applyMainTexts(const MainWindowTexts& texts) {
    for (const MainTextBinding& binding : MainTextBindings()) {
        const QString text = DialogText(MainTextOf(texts, binding.source));
        QWidget* control = findChild<QWidget*>(QString::fromLatin1(binding.control));
        if (control == nullptr)
            continue;
        if (binding.role == TextRole::Hint) {
            control->setToolTip(PlainHint(text));
        } else if (const int page = pages_->indexOf(control); page >= 0) {
            pages_->setTabText(page, text);
        } else {
            ShowCaption(*control, text);
        }
    }
}

void MainWindow::showListOrder(ListOrder order) {
    (order == ListOrder::Alphabetical ? alphabeticalOrder_ : numericalOrder_)->setChecked(true);
}

void MainWindow::showControlProgram(const ControlProgram& control) {
    const std::vector<std::string>& lines = control.lines();
    bool same = controlList_->count() == static_cast<int>(lines.size());
    for (int row = 0; same && row < controlList_->count(); ++row)
        same = controlList_->item(row)->text() == DialogText(lines[static_cast<size_t>(row)]);
    {
        // Rebuilt only when the lines changed: a selection click must not refill the list it came from.
        const QSignalBlocker blocker(controlList_);
        if (!same)
            setLines(*controlList_, lines);
        if (controlList_->currentRow() != control.selected())
            controlList_->setCurrentRow(control.selected());
    }
    setLines(*totalTimeList_, {control.totalText()});

    const EditButtonStates& buttons = control.buttons();
    addButton_->setEnabled(buttons.add);
    addPauseButton_->setEnabled(buttons.add);
    addWaitButton_->setEnabled(buttons.add);
    deleteButton_->setEnabled(buttons.remove);
    downloadButton_->setEnabled(buttons.download);
    newButton_->setEnabled(buttons.download);
}

void MainWindow::showProgramList(const std::vector<std::string>& lines) {
    setLines(*programList_, lines);
}

void MainWindow::showProtocolTexts(const ProtocolTexts& texts) {
    {
        const QSignalBlocker blocker(protocolTree_);
        protocolTree_->clear();
        for (const ProtocolNodeText& protocol : texts.protocols) {
            auto* node = new QTreeWidgetItem(protocolTree_, QStringList{DialogText(protocol.text)});
            for (const std::string& item : protocol.items)
                new QTreeWidgetItem(node, QStringList{DialogText(item)});
        }
    }
    setLines(*sessionList_, texts.sessionLines);
}

void MainWindow::showProtocolNode(const ProtocolNodeView& node) {
    setLines(*protocolProgramList_, node.programLines);
    QListWidget* electrodes[] = {inputAList_, inputBList_, outputCList_};
    for (size_t k = 0; k < std::size(electrodes); ++k)
        setLines(*electrodes[k], k < node.electrodeLines.size() ? std::vector<std::string>{node.electrodeLines[k]}
                                                                : std::vector<std::string>{});
}

void MainWindow::showSessionPrograms(const std::vector<std::string>& lines) {
    setLines(*sessionProgramList_, lines);
}

int MainWindow::activePage() const {
    return pages_->currentIndex();
}

void MainWindow::endApplication() {
    quitApplication(1);
}

void MainWindow::quitApplication(int exitCode) {
    if (quit_) {
        quit_(exitCode);
        return;
    }
    // Posted, so a failing start-up still creates the remaining windows before the loop ends.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

} // namespace trv
