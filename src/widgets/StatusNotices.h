#pragma once

class QWidget;

namespace trv {

class DesktopNotifier;
class StatusDialog;

// Desktop notices follow the Device Status dialog: they are sent while it polls and no window of
// the application is the active one (the practitioner works in another program), and a notice's
// "Continue" continues the device as the dialog's button would while it offers Continue.
void WatchStatusForNotices(DesktopNotifier& notifier, StatusDialog& status, QWidget& mainWindow);

} // namespace trv
