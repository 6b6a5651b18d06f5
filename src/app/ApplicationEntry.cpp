#include "app/ApplicationEntry.h"

#include "widgets/AfterFirstPaint.h"
#include "app/CommandLine.h"
#include "app/StartupFilesAhead.h"
#include "app/TrvApplication.h"
#include "data/BuiltinMessages.h"
#include "diag/ApplicationLog.h"
#include "diag/DesktopNotifier.h"
#include "link/DeviceLink.h"
#include "logic/AppContext.h"
#include "logic/SessionEvents.h"
#include "record/RecordPath.h"
#include "widgets/AppWindows.h"
#include "widgets/DownloadDialog.h"
#include "widgets/LanguageDialog.h"
#include "widgets/LowPowerWarning.h"
#include "widgets/MainFrame.h"
#include "widgets/MainWindow.h"
#include "widgets/ModuleEntry.h"
#include "widgets/StatusNotices.h"
#include "widgets/TreatmentRecord.h"
#include "widgets/MessageBoxErrorDisplay.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/ProgramFileCommands.h"
#include "widgets/RecentPrograms.h"
#include "widgets/SelfTestWarning.h"
#include "widgets/StatusDialog.h"
#include "widgets/WindowStyle.h"

#include <QCoreApplication>
#include <QScreen>
#include <QTextStream>

#include <exception>
#include <memory>
#include <thread>

#ifdef TRV_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace trv {

namespace {

// The six windows after the main one, in their fixed order. Windows centred on the screen have no
// parent; the others are centred on the main window.
struct Dialogs {
    std::unique_ptr<LowPowerWarning> lowPower;
    std::unique_ptr<DownloadDialog> download;
    std::unique_ptr<StatusDialog> status;
    std::unique_ptr<ProcessRunningWarning> warning;
    std::unique_ptr<LanguageDialog> language;
    std::unique_ptr<SelfTestWarning> selfTestWarning;

    void create(AppContext& context, ErrorDisplay& errors, AppWindows& windows, MainWindow& mainWindow,
                SessionEventSink& events) {
        lowPower = std::make_unique<LowPowerWarning>(context);
        windows.lowPower = lowPower.get();
        download = std::make_unique<DownloadDialog>(context, errors, windows, &mainWindow);
        download->sequence().setEventSink(events);
        windows.download = download.get();
        status = std::make_unique<StatusDialog>(context, errors, windows, &mainWindow);
        status->sequence().setEventSink(events);
        windows.status = status.get();
        warning = std::make_unique<ProcessRunningWarning>(context, &mainWindow);
        windows.warning = warning.get();
        language = std::make_unique<LanguageDialog>(context.folder, mainWindow.controller().languageName());
        windows.language = language.get();
        selfTestWarning = std::make_unique<SelfTestWarning>(context, &mainWindow);
        windows.selfTestWarning = selfTestWarning.get();
    }
};

int CreateWindowsAndRun(TrvApplication& application, DataFolder& folder, ErrorDisplay& errors, HidBackend& backend,
                        const ApplicationOptions& options, StartupFilesAhead& startupFiles,
                        const QString& programFile) {
    ProgramCatalogue catalogue;
    LanguageTexts texts;
    ControlProgram control(catalogue, [&texts](int k) { return MessageText(texts.messages, k); });
    DeviceSession session;
    DeviceLink link(backend);
    AppContext context{folder, catalogue, texts, control, session, link};
    AppWindows windows;

    // The fixed order: the main window's start-up loads the texts the dialogs take when they are made.
    auto mainWindow = std::make_unique<MainWindow>(context, errors, windows, nullptr, MainWindow::QuitApplication{},
                                                   [&startupFiles] { return startupFiles.take(); });
    windows.main = mainWindow.get();
    Dialogs dialogs;

    // After a failed start-up the posted exit ends the loop at once; the window is never offered.
    if (mainWindow->startupFailed()) {
        dialogs.create(context, errors, windows, *mainWindow, SessionEventSink::none());
        return application.exec();
    }

    // What the step machines see happen goes to the treatment record and the desktop notices.
    SessionEventFanOut events;
    std::unique_ptr<DesktopNotifier> notifier;
    std::unique_ptr<TreatmentRecord> record;
    MainFrame* frame = nullptr;

    // The dialogs aren't seen before the main window is: they are made once it has been painted,
    // and the record is opened then. Their failure ends the application as it would have before
    // the window was shown.
    AfterFirstPaint makeDialogs(*mainWindow, [&] {
        try {
            dialogs.create(context, errors, windows, *mainWindow, events);
            notifier = std::make_unique<DesktopNotifier>();
            events.add(notifier->sink());
            WatchStatusForNotices(*notifier, *dialogs.status, *frame);
            QString message;
            record = OpenTreatmentRecord(ModulePath("trvrecordmodule"), TreatmentRecordPath(options.demo), &message);
            if (record) {
                events.add(record->sink());
                frame->setTreatmentRecord(record.get());
                message = record->openMessage();
            }
            if (!message.isEmpty())
                errors.show(frame, QCoreApplication::translate("trv::MainFrame", "Treatment Record"), message,
                            ErrorDisplay::Icon::Error, false);
        } catch (const std::exception& error) {
            ShowStandardError(errors, nullptr, QString::fromUtf8(error.what()));
            QCoreApplication::exit(1);
        } catch (...) {
            ShowStandardError(errors, nullptr, QString());
            QCoreApplication::exit(1);
        }
    });
    // Program files: the File menu's commands, files dropped on the window, the file named on the
    // command line (opened once the loop runs, so its messages come after the window).
    auto* programFiles = new ProgramFileCommands(mainWindow->controller(), errors, std::make_unique<RecentPrograms>(),
                                                 *mainWindow);
    windows.programFiles = programFiles;
    programFiles->acceptDrops();

    MainFrame::Services services;
    services.programFiles = programFiles;
    services.recordPath = TreatmentRecordPath(options.demo);
    MainFrame mainFrame(*mainWindow, context, services);
    frame = &mainFrame;
    if (const QScreen* screen = mainFrame.screen())
        mainFrame.move(screen->availableGeometry().center() - mainFrame.rect().center());
    mainFrame.show();
    if (options.afterMainWindowShown)
        options.afterMainWindowShown(mainFrame);

    if (!programFile.isEmpty())
        QMetaObject::invokeMethod(
            programFiles, [programFiles, programFile] { programFiles->open(programFile); }, Qt::QueuedConnection);
    const int code = application.exec();
    // The dialogs' steps send their last events before the sinks go.
    dialogs = {};
    return code;
}

#ifdef TRV_HAVE_FONTCONFIG
// Loads the font configuration, the slowest part of the first text's layout, while the toolkit
// connects to the display. The library takes whichever of two concurrent loads ends first.
class FontWarmUp {
public:
    FontWarmUp() : thread_([] { FcInit(); }) {}
    ~FontWarmUp() { thread_.join(); }
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread thread_;
};
#else
struct FontWarmUp {};
#endif

} // namespace

int RunApplication(int argc, char** argv, HidBackend& backend, const ApplicationOptions& options) {
    // --help and --version are answered before anything starts, a display included.
    QString programFile;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        const CommandLine commandLine =
            ParseCommandLine(CommandLineArguments(argc, argv), QStringLiteral(TRV_VERSION), out, err);
        if (commandLine.exitCode)
            return *commandLine.exitCode;
        programFile = commandLine.programFile;
    }
    // The log takes every line from here on, the start-up files' included.
    ApplicationLog::install();
    const FontWarmUp fonts;
    DataFolder folder(".");
    // The catalogue and the protocols are read and parsed while the toolkit connects to the display;
    // the main window's start-up waits for them where it needs them.
    StartupFilesAhead startupFiles(folder);
    TrvApplication application(argc, argv);
    InstallApplicationStyle();
    QGuiApplication::setDesktopFileName(options.desktopFileName);
    MessageBoxErrorDisplay errors(QString::fromStdString(folder.nativePath(ErrorSoundFileName)),
                                  ModulePath("trvsound"));
    application.setErrorDisplay(&errors);
    try {
        return CreateWindowsAndRun(application, folder, errors, backend, options, startupFiles, programFile);
    } catch (const std::exception& error) {
        ShowStandardError(errors, nullptr, QString::fromUtf8(error.what()));
    } catch (...) {
        ShowStandardError(errors, nullptr, QString());
    }
    return 1;
}

} // namespace trv
