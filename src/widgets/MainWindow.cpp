#include "widgets/MainWindow.h"

#include "data/BuiltinMessages.h"
#include "data/MessageNumbers.h"
#include "widgets/DialogText.h"
#include "widgets/DeviceWorker.h"
#include "widgets/DownloadDialog.h"
#include "widgets/FlagImage.h"
#include "widgets/LanguageDialog.h"
#include "widgets/SelfTestWarning.h"
#include "widgets/StatusDialog.h"
#include "widgets/UpDown.h"
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

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QGroupBox* groupBox(QWidget* parent, const char* name, const char* title, QRect geometry) {
    auto* box = named(new QGroupBox(QString::fromLatin1(title), parent), name);
    box->setGeometry(geometry);
    return box;
}

QListWidget* listBox(QWidget* parent, const char* name, QRect geometry) {
    auto* list = named(new QListWidget(parent), name);
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// A list that only ever holds one line (the electrode and total time lists).
QListWidget* oneLineList(QWidget* parent, const char* name, QRect geometry) {
    QListWidget* list = listBox(parent, name, geometry);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFocusPolicy(Qt::NoFocus);
    return list;
}

QPushButton* button(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* pushButton = named(new QPushButton(QString::fromLatin1(text), parent), name);
    pushButton->setGeometry(geometry);
    return pushButton;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QPoint at) {
    auto* shown = plainLabel(named(new QLabel(QString::fromLatin1(text), parent), name));
    shown->move(at);
    shown->adjustSize();
    return shown;
}

void setLines(QListWidget& list, const std::vector<std::string>& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        texts.append(dialogText(line));
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
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QString::fromLatin1(Caption));
    setFixedSize(ClientWidth, ClientHeight);
    setFont(mainWindowFont());
    setWindowBackground(*this, DesignBackground);

    ProgPC = named(new QTabWidget(this), "ProgPC");
    ProgPC->setGeometry(8, 8, 505, 537);
    ProgPC->setTabPosition(QTabWidget::South);

    ProtocolTS = named(new QWidget, "ProtocolTS");
    ProtocolGB = groupBox(ProtocolTS, "ProtocolGB", "Protocols", {0, 0, 289, 321});
    ProtocolTW = named(new QTreeWidget(ProtocolGB), "ProtocolTW");
    ProtocolTW->setGeometry(16, 16, 273, 297);
    ProtocolTW->setHeaderHidden(true);
    ProtocolTW->setColumnCount(1);
    ProtocolTRVGB = groupBox(ProtocolTS, "ProtocolTRVGB", "Trivane Pocket programs", {0, 320, 497, 177});
    ProtocolTRVLB = listBox(ProtocolTRVGB, "ProtocolTRVLB", {8, 16, 481, 153});
    ElectrodeGB = groupBox(ProtocolTS, "ElectrodeGB", "Electrodes", {296, 0, 193, 321});
    LabelA = label(ElectrodeGB, "LabelA", "Input A", {8, 24});
    ALB = oneLineList(ElectrodeGB, "ALB", {8, 40, 177, 33});
    LabelB = label(ElectrodeGB, "LabelB", "Input B", {8, 88});
    BLB = oneLineList(ElectrodeGB, "BLB", {8, 104, 177, 33});
    LabelC = label(ElectrodeGB, "LabelC", "Output C", {8, 152});
    CLB = oneLineList(ElectrodeGB, "CLB", {8, 168, 177, 33});

    SessionTS = named(new QWidget, "SessionTS");
    SessionGB = groupBox(SessionTS, "SessionGB", "Session list", {0, 0, 497, 321});
    SessionLB = listBox(SessionGB, "SessionLB", {8, 16, 481, 297});
    SessionTRVGB = groupBox(SessionTS, "SessionTRVGB", "Trivane Pocket programs", {0, 320, 497, 177});
    SessionTRVLB = listBox(SessionTRVGB, "SessionTRVLB", {8, 16, 481, 153});

    ProgTS = named(new QWidget, "ProgTS");
    ListGroup = groupBox(ProgTS, "ListGroup", "Trivane Pocket programs", {0, 0, 497, 497});
    ProgListBox = listBox(ListGroup, "ProgListBox", {8, 16, 481, 473});

    ProgPC->addTab(ProtocolTS, QStringLiteral("Protocols"));
    ProgPC->addTab(SessionTS, QStringLiteral("Sessions"));
    ProgPC->addTab(ProgTS, QStringLiteral("TRV programs"));
    // The sessions page keeps its handlers, but its tab is never offered.
    ProgPC->setTabVisible(ProgPC->indexOf(SessionTS), false);
    ProgPC->setCurrentWidget(ProtocolTS);

    ControlGroup = groupBox(this, "ControlGroup", "Control", {520, 8, 257, 233});
    ControlListBox = listBox(ControlGroup, "ControlListBox", {8, 16, 241, 185});
    ControlListBox->setToolTip(QStringLiteral("Controlling program of the treatment."));
    TimeLabel = label(ControlGroup, "TimeLabel", "Total Time:", {128, 211});
    TimeList = oneLineList(ControlGroup, "TimeList", {208, 209, 39, 20});
    // The design's width just holds "00:00": clip rather than elide a longer total.
    TimeList->setTextElideMode(Qt::ElideNone);
    TimeList->setToolTip(QStringLiteral("Total time of the control program."));

    ACButton = button(this, "ACButton", "<< Add to Control", {520, 248, 121, 33});
    ACButton->setToolTip(QStringLiteral("Add the selected program to the control."));
    DelButton = button(this, "DelButton", "Delete", {656, 248, 121, 33});
    DelButton->setToolTip(QStringLiteral("Delete the selected line of the control program."));
    DelButton->setEnabled(false);
    APButton = button(this, "APButton", "Add Pause", {520, 296, 121, 33});
    APButton->setToolTip(QStringLiteral("Add pause to the control program."));

    Label1 = label(this, "Label1", "Min", {656, 288});
    EditMin = named(new QLineEdit(QStringLiteral("1"), this), "EditMin");
    EditMin->setGeometry(656, 304, 33, 24);
    EditMin->setToolTip(QStringLiteral("Minutes of the pause time."));
    UpDownMin = named(new UpDown(*EditMin, 0, MaxPauseMinutes, this), "UpDownMin");
    UpDownMin->setGeometry(689, 304, 15, 24);
    Label2 = label(this, "Label2", "Sec", {728, 288});
    EditSec = named(new QLineEdit(QStringLiteral("0"), this), "EditSec");
    EditSec->setGeometry(728, 304, 33, 24);
    EditSec->setToolTip(QStringLiteral("Seconds of the pause time."));
    UpDownSec = named(new UpDown(*EditSec, 0, MaxPauseSeconds, this), "UpDownSec");
    UpDownSec->setGeometry(761, 304, 15, 24);

    AWButton = button(this, "AWButton", "Add Wait", {520, 336, 121, 33});
    AWButton->setToolTip(QStringLiteral("Add handy interruptible waiting to the control."));
    NewButton = button(this, "NewButton", "New Program", {656, 336, 121, 33});
    NewButton->setToolTip(QStringLiteral("Clear the total control program."));
    NewButton->setEnabled(false);

    TestButton = button(this, "TestButton", "Test", {522, 401, 75, 25});
    FlagImage = named(new FlagImageLabel(flagError_, this), "FlagImage");
    FlagImage->setGeometry(603, 400, 38, 25);
    FlagImage->setToolTip(QStringLiteral("Select language"));
    DlButton = button(this, "DlButton", "Download", {656, 401, 121, 33});
    DlButton->setToolTip(QStringLiteral("Download the control program to the TRV equipment."));
    DlButton->setEnabled(false);

    LOGroupBox = groupBox(this, "LOGroupBox", "List Order", {520, 432, 121, 81});
    NumRB = named(new QRadioButton(QStringLiteral("Numerical"), LOGroupBox), "NumRB");
    NumRB->setGeometry(8, 24, 105, 17);
    NumRB->setChecked(true);
    AlphaRB = named(new QRadioButton(QStringLiteral("Alphabetical"), LOGroupBox), "AlphaRB");
    AlphaRB->setGeometry(8, 48, 105, 17);

    StatButton = button(this, "StatButton", "Status", {656, 440, 121, 33});
    StatButton->setToolTip(QStringLiteral("Get the actual status of the TRV equipment."));
    ExitButton = button(this, "ExitButton", "Exit", {656, 480, 121, 33});
    ExitButton->setToolTip(QStringLiteral("Exit from program."));
}

void MainWindow::connectEvents() {
    connect(ExitButton, &QPushButton::clicked, this, &MainWindow::ExitButtonClick);
    // Exit is taken while a closed dialog's step ends; it waits for the step.
    DeviceWorker::allowWhileBusy(*ExitButton);
    connect(DlButton, &QPushButton::clicked, this, &MainWindow::DlButtonClick);
    connect(TestButton, &QPushButton::clicked, this, &MainWindow::TestButtonClick);
    connect(StatButton, &QPushButton::clicked, this, &MainWindow::StatButtonClick);
    connect(ACButton, &QPushButton::clicked, this, &MainWindow::ACButtonClick);
    connect(ProgListBox, &QListWidget::itemDoubleClicked, this, &MainWindow::ProgLBDoubleClick);
    connect(APButton, &QPushButton::clicked, this, &MainWindow::APButtonClick);
    connect(AWButton, &QPushButton::clicked, this, &MainWindow::AWButtonClick);
    connect(DelButton, &QPushButton::clicked, this, &MainWindow::DelButtonClick);
    connect(NewButton, &QPushButton::clicked, this, &MainWindow::NewButtonClick);
    // The keyboard moves the selection too; the control program must follow whatever is selected.
    connect(ControlListBox, &QListWidget::currentRowChanged, this, &MainWindow::ControlLB1Click);
    connect(ProgPC, &QTabWidget::currentChanged, this, &MainWindow::ProgPCChange);
    connect(ProtocolTW, &QTreeWidget::itemClicked, this, &MainWindow::ProtocolTWClick);
    connect(ProtocolTW, &QTreeWidget::currentItemChanged, this, &MainWindow::ProtocolTWClick);
    connect(ProtocolTW, &QTreeWidget::itemDoubleClicked, this, &MainWindow::ProtocolTWDblClick);
    connect(SessionLB, &QListWidget::itemClicked, this, &MainWindow::SessionLBClick);
    connect(SessionLB, &QListWidget::currentRowChanged, this, &MainWindow::SessionLBClick);
    connect(SessionLB, &QListWidget::itemDoubleClicked, this, &MainWindow::SessionLBDblClick);
    connect(NumRB, &QRadioButton::clicked, this, &MainWindow::NumRBClick);
    connect(AlphaRB, &QRadioButton::clicked, this, &MainWindow::AlphaRBClick);
    connect(FlagImage, &FlagImageLabel::clicked, this, &MainWindow::FlagImageClick);
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
    const PointerGuard pointer(*DlButton);
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
    controller_.ACButtonClick(selectedLine(*ProgListBox), selectedLine(*SessionLB));
}

void MainWindow::ProgLBDoubleClick() {
    controller_.ProgLBDoubleClick(selectedLine(*ProgListBox));
}

void MainWindow::APButtonClick() {
    controller_.APButtonClick(EditMin->text().toStdString(), EditSec->text().toStdString());
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
    controller_.ControlLB1Click(ControlListBox->currentRow());
}

void MainWindow::ProgPCChange(int page) {
    controller_.ProgPCChange(page);
}

void MainWindow::ProtocolTWClick() {
    QTreeWidgetItem* item = ProtocolTW->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    QTreeWidgetItem* parentItem = item->parent();
    const int position = parentItem == nullptr
                             ? controller_.protocolTexts().treePosition(ProtocolTW->indexOfTopLevelItem(item))
                             : controller_.protocolTexts().treePosition(ProtocolTW->indexOfTopLevelItem(parentItem),
                                                                        parentItem->indexOfChild(item));
    controller_.ProtocolTWClick(position);
}

void MainWindow::ProtocolTWDblClick() {
    controller_.ProtocolTWDblClick();
}

void MainWindow::SessionLBClick() {
    controller_.SessionLBClick(selectedLine(*SessionLB));
}

void MainWindow::SessionLBDblClick() {
    controller_.SessionLBDblClick(selectedLine(*SessionLB));
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
}

// --- MainView ---

FlagPicture& MainWindow::flagPicture() {
    return *FlagImage;
}

FlagPicture& MainWindow::flagCheck() {
    return *flagCheck_;
}

void MainWindow::showFlagError() {
    ShowStandardError(errors_, this, flagError_);
}

void MainWindow::ShowError(int message) {
    const MessageTable& messages = context_.texts.messages;
    errors_.show(this, dialogText(MessageText(messages, msg::ErrorTitle)), dialogText(MessageText(messages, message)),
                 ErrorDisplay::Icon::Error, true);
}

void MainWindow::showStandardError(const std::string& text) {
    ShowStandardError(errors_, this, QString::fromStdString(text));
}

void MainWindow::applyMainTexts(const MainWindowTexts& texts) {
    for (const MainTextBinding& binding : MainTextBindings()) {
        const QString text = dialogText(MainText(texts, binding.source));
        QWidget* control = findChild<QWidget*>(QString::fromLatin1(binding.control));
        if (control == nullptr)
            continue;
        if (binding.role == TextRole::Hint) {
            control->setToolTip(plainHint(text));
        } else if (const int page = ProgPC->indexOf(control); page >= 0) {
            ProgPC->setTabText(page, text);
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            box->setTitle(text);
        } else if (auto* pushButton = qobject_cast<QAbstractButton*>(control)) {
            pushButton->setText(text);
        } else if (auto* shown = qobject_cast<QLabel*>(control)) {
            shown->setText(text);
            shown->adjustSize();
        }
    }
}

void MainWindow::showListOrder(ListOrder order) {
    (order == ListOrder::Alphabetical ? AlphaRB : NumRB)->setChecked(true);
}

void MainWindow::showControlProgram(const ControlProgram& control) {
    const std::vector<std::string>& lines = control.lines();
    bool same = ControlListBox->count() == static_cast<int>(lines.size());
    for (int row = 0; same && row < ControlListBox->count(); ++row)
        same = ControlListBox->item(row)->text() == dialogText(lines[static_cast<size_t>(row)]);
    {
        // Rebuilt only when the lines changed: a selection click must not refill the list it came from.
        const QSignalBlocker blocker(ControlListBox);
        if (!same)
            setLines(*ControlListBox, lines);
        if (ControlListBox->currentRow() != control.selected())
            ControlListBox->setCurrentRow(control.selected());
    }
    setLines(*TimeList, {control.totalText()});

    const EditButtonStates& buttons = control.buttons();
    ACButton->setEnabled(buttons.add);
    APButton->setEnabled(buttons.add);
    AWButton->setEnabled(buttons.add);
    DelButton->setEnabled(buttons.remove);
    DlButton->setEnabled(buttons.download);
    NewButton->setEnabled(buttons.download);
}

void MainWindow::showProgramList(const std::vector<std::string>& lines) {
    setLines(*ProgListBox, lines);
}

void MainWindow::showProtocolTexts(const ProtocolTexts& texts) {
    {
        const QSignalBlocker blocker(ProtocolTW);
        ProtocolTW->clear();
        for (const ProtocolNodeText& protocol : texts.protocols) {
            auto* node = new QTreeWidgetItem(ProtocolTW, QStringList{dialogText(protocol.text)});
            for (const std::string& item : protocol.items)
                new QTreeWidgetItem(node, QStringList{dialogText(item)});
        }
    }
    setLines(*SessionLB, texts.sessionLines);
}

void MainWindow::showProtocolNode(const ProtocolNodeView& node) {
    setLines(*ProtocolTRVLB, node.programLines);
    QListWidget* electrodes[] = {ALB, BLB, CLB};
    for (size_t k = 0; k < std::size(electrodes); ++k)
        setLines(*electrodes[k], k < node.electrodeLines.size() ? std::vector<std::string>{node.electrodeLines[k]}
                                                                : std::vector<std::string>{});
}

void MainWindow::showSessionPrograms(const std::vector<std::string>& lines) {
    setLines(*SessionTRVLB, lines);
}

int MainWindow::activePage() const {
    return ProgPC->currentIndex();
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
