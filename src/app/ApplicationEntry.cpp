#include "app/ApplicationEntry.h"

#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "widgets/MessageBoxErrorDisplay.h"
#include "app/TrvApplication.h"
#include "widgets/MainWindow.h"
#include "data/BuiltinMessages.h"
#include "widgets/LanguageDialog.h"
#include "link/DeviceLink.h"
#include "widgets/DownloadDialog.h"
#include "widgets/LowPowerWarning.h"
#include "widgets/StatusDialog.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/SelfTestWarning.h"

#include <QScreen>

#include <exception>
#include <memory>

namespace trv {

namespace {

int CreateWindowsAndRun(TrvApplication& application, DataFolder& folder, ErrorDisplay& errors, HidBackend& backend,
                        const ApplicationOptions& options) {
    ProgramCatalogue catalogue;
    LanguageTexts texts;
    ControlProgram control(catalogue, [&texts](int k) { return messageText(texts.messages, k); });
    DeviceSession session;
    DeviceLink link(backend);
    AppContext context{folder, catalogue, texts, control, session, link};
    AppWindows windows;

    // The fixed order: the main window's start-up loads the texts the dialogs take when they are made.
    // Windows centred on the screen have no parent; the others are centred on the main window.
    auto mainWindow = std::make_unique<MainWindow>(context, errors, windows);
    windows.main = mainWindow.get();
    auto cont = std::make_unique<LowPowerWarning>(context);
    windows.cont = cont.get();
    auto download = std::make_unique<DownloadDialog>(context, errors, windows, mainWindow.get());
    windows.download = download.get();
    auto status = std::make_unique<StatusDialog>(context, errors, windows, mainWindow.get());
    windows.status = status.get();
    auto warning = std::make_unique<ProcessRunningWarning>(context, mainWindow.get());
    windows.warning = warning.get();
    auto language = std::make_unique<LanguageDialog>(folder, mainWindow->controller().languageName());
    windows.language = language.get();
    auto selfTestWarning = std::make_unique<SelfTestWarning>(context, mainWindow.get());
    windows.selfTestWarning = selfTestWarning.get();

    // After a failed start-up the posted exit ends the loop at once; the window is never offered.
    if (!mainWindow->startupFailed()) {
        if (const QScreen* screen = mainWindow->screen())
            mainWindow->move(screen->availableGeometry().center() - mainWindow->rect().center());
        mainWindow->show();
        if (options.afterMainWindowShown)
            options.afterMainWindowShown(*mainWindow);
    }
    return application.exec();
}

} // namespace

int RunApplication(int argc, char** argv, HidBackend& backend, const ApplicationOptions& options) {
    TrvApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(options.desktopFileName);
    DataFolder folder(".");
    MessageBoxErrorDisplay errors(QString::fromStdString(folder.nativePath(ErrorSoundFileName)));
    application.setErrorDisplay(&errors);
    try {
        return CreateWindowsAndRun(application, folder, errors, backend, options);
    } catch (const std::exception& error) {
        ShowStandardError(errors, nullptr, QString::fromUtf8(error.what()));
    } catch (...) {
        ShowStandardError(errors, nullptr, QString());
    }
    return 1;
}

} // namespace trv
