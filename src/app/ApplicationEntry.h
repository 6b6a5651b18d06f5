#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace trv {

class HidBackend;

struct ApplicationOptions {
    // The desktop entry the windows belong to (lets the desktop match windows to their menu entry).
    QString desktopFileName = QStringLiteral("org.trv.Trv");
    // Called once the main window is shown, for windows of the demo build.
    std::function<void(QWidget& mainWindow)> afterMainWindowShown;
    // The demo keeps a treatment record of its own, so nothing simulated mixes with a client's.
    bool demo = false;
};

// The process entry of the application and of its demo: the data folder is the working folder;
// creates the seven windows in their fixed order over the given HID access and runs the event
// loop. Returns the process's exit code.
int RunApplication(int argc, char** argv, HidBackend& backend, const ApplicationOptions& options = {});

} // namespace trv
