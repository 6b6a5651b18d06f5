#include "app/ApplicationEntry.h"
#include "sim/SimulatedDevice.h"
#include "widgets/DemoDevicePanel.h"

#include <QWidget>

// The application with a simulated device in the process, running in real time: everything works
// without the hardware. A small panel beside the main window stands in for the device's keys,
// battery and cable.
int main(int argc, char** argv) {
    trv::sim::SteadyClock clock;
    trv::sim::SimulatedDevice device(clock);
    trv::ApplicationOptions options;
    options.desktopFileName = QStringLiteral("org.trv.TrvDemo");
    options.demo = true;
    options.afterMainWindowShown = [&](QWidget& mainWindow) {
        // Owned by the main window's frame, which goes before the device does.
        auto* panel = new trv::DemoDevicePanel(device, &mainWindow);
        panel->adjustSize();
        panel->move(mainWindow.frameGeometry().topRight() + QPoint(8, 0));
        panel->show();
    };
    return trv::RunApplication(argc, argv, device, options);
}
