#include "widgets/MainFrame.h"

#include "check/CheckReport.h"
#include "check/FolderCheck.h"
#include "data/LanguageSelection.h"
#include "diag/ApplicationLog.h"
#include "diag/DesktopNotifier.h"
#include "diag/DiagnosticReport.h"
#include "logic/AppContext.h"
#include "widgets/AfterFirstPaint.h"
#include "widgets/MainWindow.h"
#include "widgets/ProgramFileCommands.h"
#include "widgets/ProgramFinderDialog.h"
#include "widgets/TreatmentRecord.h"
#include "widgets/WindowStyle.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QUrl>

#include <sstream>

namespace trv {

namespace {

// The toolkit's name of the translation that goes with a language folder; empty: English.
QString TranslationFor(const std::string& folderCode) {
    static const struct {
        const char* folder;
        const char* locale;
    } known[] = {{"HUN", "hu"}};
    for (const auto& entry : known) {
        if (folderCode == entry.folder)
            return QString::fromLatin1(entry.locale);
    }
    return {};
}

// trv-check's summary of the data folder, as it prints it.
QString CheckSummary(const DataFolder& folder) {
    std::string error;
    const auto languages = LanguagesToCheck(folder, {}, error);
    if (!languages)
        return QString::fromStdString(error);
    std::ostringstream out;
    WriteTextReport(out, folder, CheckDataFolder(folder, *languages));
    return QString::fromStdString(out.str());
}

} // namespace

MainFrame::MainFrame(MainWindow& main, AppContext& context, Services services)
    : main_(main), context_(context), services_(std::move(services)) {
    // The menu bar belongs above the client area, in the window: asking the desktop for a global
    // menu costs a session bus round (or a bus launch where there is none) before the first paint.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    setObjectName(QStringLiteral("MainFrame"));
    setCentralWidget(&main_);
    setWindowTitle(main_.windowTitle());
    setWindowIcon(main_.windowIcon());
    connect(&main_, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    connect(&main_, &MainWindow::languageChanged, this, [this] {
        followLanguage();
        if (finder_ != nullptr)
            finder_->setCatalogue(context_.catalogue); // the names of the new language
    });
    connect(&main_, &QWidget::windowIconChanged, this, &QWidget::setWindowIcon);
    buildActions();
    followLanguage();
    retranslate();
    // The client area keeps the design's size; the window grows by the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The menus behind the bar's entries wait until the window has been painted, or until the first
    // input, whichever comes first: making them is no part of what the user sees first.
    menusLater_ = std::make_unique<AfterFirstPaint>(main_, [this] { buildMenus(); });
}

MainFrame::~MainFrame() {
    // The main window belongs to the process entry, not to its frame.
    takeCentralWidget();
    main_.setParent(nullptr);
    QCoreApplication::removeTranslator(&translator_);
}

QAction* MainFrame::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

void MainFrame::buildActions() {
    const auto make = [this](const char* name, const QKeySequence& keys, auto&& slot) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty())
            action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    ProgramFileCommands* files = services_.programFiles;
    openAction_ = make("OpenProgramAction", QKeySequence::Open, [files] {
        if (files != nullptr)
            files->openWithDialog();
    });
    saveAction_ = make("SaveProgramAsAction", QKeySequence(Qt::CTRL | Qt::Key_S), [files] {
        if (files != nullptr)
            files->saveAsWithDialog();
    });
    findAction_ = make("FindProgramAction", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { openFinder(); });
    exitAction_ = make("ExitAction", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { main_.ExitButtonClick(); });
    recordAction_ = make("TreatmentRecordAction", QKeySequence(Qt::CTRL | Qt::Key_R), [this] { openRecord(); });
    recordAction_->setEnabled(!services_.recordPath.isEmpty());
    trafficAction_ = make("RecordTrafficAction", {}, [](bool on) { ApplicationLog::setTrafficRecording(on); });
    trafficAction_->setCheckable(true);
    notificationsAction_ = make("NotificationsAction", {}, [](bool on) { DesktopNotifier::setNotificationsEnabled(on); });
    notificationsAction_->setCheckable(true);
    logFolderAction_ = make("ShowLogFolderAction", {}, [] {
        QDir().mkpath(ApplicationLog::folder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(ApplicationLog::folder()));
    });
    reportAction_ = make("CopyDiagnosticReportAction", {}, [this] { QApplication::clipboard()->setText(diagnosticReport()); });
    aboutAction_ = make("AboutAction", {}, [this] { showAbout(); });
    // The shortcuts work from the start; every one is also there while a closed dialog's step ends:
    // each one waits or needs no device.
    addActions({openAction_, saveAction_, findAction_, exitAction_, recordAction_});

    // The design's font: one face for the whole window, which spares the first paint loading another.
    menuBar()->setFont(MainWindowFont());
    fileEntry_ = menuBar()->addAction(QString());
    recordEntry_ = menuBar()->addAction(QString());
    helpEntry_ = menuBar()->addAction(QString());
}

void MainFrame::buildMenus() {
    if (fileMenu_ != nullptr)
        return;
    const auto attach = [this](QAction* entry, const char* name, std::initializer_list<QAction*> actions) {
        auto* menu = new QMenu(menuBar());
        menu->setObjectName(QString::fromLatin1(name));
        for (QAction* action : actions) {
            if (action != nullptr)
                menu->addAction(action);
            else
                menu->addSeparator();
        }
        entry->setMenu(menu);
        return menu;
    };
    fileMenu_ = attach(fileEntry_, "FileMenu", {openAction_, saveAction_});
    recentMenu_ = new QMenu(fileMenu_);
    recentMenu_->setObjectName(QStringLiteral("OpenRecentMenu"));
    fileMenu_->addMenu(recentMenu_);
    ProgramFileCommands* files = services_.programFiles;
    connect(recentMenu_, &QMenu::aboutToShow, this, [this, files] {
        if (files != nullptr)
            files->fillRecentMenu(*recentMenu_);
    });
    fileMenu_->addSeparator();
    fileMenu_->addAction(findAction_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(exitAction_);
    attach(recordEntry_, "RecordMenu", {recordAction_});
    QMenu* help = attach(helpEntry_, "HelpMenu",
                       {trafficAction_, notificationsAction_, logFolderAction_, reportAction_, nullptr, aboutAction_});
    // The settings are read as the menu opens, not while the window is being shown.
    connect(help, &QMenu::aboutToShow, this, [this] {
        trafficAction_->setChecked(ApplicationLog::trafficRecording());
        notificationsAction_->setChecked(DesktopNotifier::notificationsEnabled());
    });
    retranslate();
}

void MainFrame::retranslate() {
    fileEntry_->setText(tr("&File"));
    openAction_->setText(tr("&Open Program..."));
    saveAction_->setText(tr("Save Program &As..."));
    if (recentMenu_ != nullptr)
        recentMenu_->setTitle(tr("Open &Recent"));
    findAction_->setText(tr("&Find Program..."));
    exitAction_->setText(tr("E&xit"));
    recordEntry_->setText(tr("&Record"));
    recordAction_->setText(tr("&Treatment Record..."));
    helpEntry_->setText(tr("&Help"));
    trafficAction_->setText(tr("Record Device &Traffic"));
    notificationsAction_->setText(tr("Desktop &Notifications"));
    logFolderAction_->setText(tr("Show &Log Folder"));
    reportAction_->setText(tr("&Copy Diagnostic Report"));
    aboutAction_->setText(tr("&About trv"));
}

void MainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void MainFrame::followLanguage() {
    const auto folderCode = ListedFolderCode(context_.folder, main_.controller().languageName());
    const QString language = folderCode ? TranslationFor(*folderCode) : QString();
    if (language == translatorLanguage_)
        return;
    translatorLanguage_ = language;
    QCoreApplication::removeTranslator(&translator_);
    // Every window gets a LanguageChange event for its own texts; the menus change at once.
    if (!language.isEmpty() && translator_.load(QStringLiteral(":/i18n/trv_") + language))
        QCoreApplication::installTranslator(&translator_);
    retranslate();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    // The close box ends the program as Exit does; Exit may wait for a device step.
    main_.close();
    if (main_.isVisible())
        event->ignore();
    else
        event->accept();
}

void MainFrame::openFinder() {
    if (finder_ == nullptr) {
        ProgramFinderDialog::Actions actions;
        actions.select = [this](int number) {
            const int line = main_.controller().ProgramListLine(number);
            auto* pages = main_.findChild<QTabWidget*>(QStringLiteral("ProgPC"));
            auto* list = main_.findChild<QListWidget*>(QStringLiteral("ProgListBox"));
            if (pages == nullptr || list == nullptr || line < 0)
                return;
            pages->setCurrentWidget(main_.findChild<QWidget*>(QStringLiteral("ProgTS")));
            list->setCurrentRow(line);
            list->scrollToItem(list->item(line));
        };
        actions.add = [this](int number) { main_.controller().AddProgramNumber(number); };
        finder_ = new ProgramFinderDialog(std::move(actions), this);
    }
    finder_->setCatalogue(context_.catalogue);
    finder_->show();
    finder_->raise();
    finder_->activateWindow();
}

void MainFrame::openRecord() {
    if (services_.recordPath.isEmpty() || services_.record == nullptr)
        return;
    if (record_ == nullptr) {
        record_ = services_.record->createWindow(this);
        record_->setWindowFlag(Qt::Window);
        record_->setAttribute(Qt::WA_DeleteOnClose);
    }
    record_->show();
    record_->raise();
    record_->activateWindow();
}

QString MainFrame::diagnosticReport() const {
    DiagnosticFacts facts;
    facts.dataFolder = DataFolderPath();
    facts.checkSummary = CheckSummary(context_.folder);
    facts.recordPath = services_.recordPath;
    return DiagnosticReport(facts);
}

void MainFrame::showAbout() {
    const QString text =
        tr("<h3>trv %1</h3>"
           "<p>Composes control programs for the TRV device, downloads them and follows the device's status.</p>"
           "<p>Copyright the trv developers. All rights reserved.</p>"
           "<p>Data folder: %2<br>Treatment record: %3<br>Log: %4</p>")
            .arg(QStringLiteral(TRV_VERSION), DataFolderPath().toHtmlEscaped(),
                 (services_.recordPath.isEmpty() ? tr("none") : services_.recordPath).toHtmlEscaped(),
                 ApplicationLog::filePath().toHtmlEscaped());
    QMessageBox::about(this, tr("About trv"), text);
}

} // namespace trv
