#pragma once

namespace trv {

class MainWindow;
class LowPowerWarning;
class DownloadDialog;
class StatusDialog;
class ProcessRunningWarning;
class LanguageDialog;
class SelfTestWarning;
class ProgramFileCommands;

// The seven windows the process creates at start, in this order. Each window gets this table and
// finds the others through it when it needs them, which lets them be created in the fixed order
// even where an earlier one opens a later one.
struct AppWindows {
    MainWindow* main = nullptr;
    LowPowerWarning* lowPower = nullptr;
    DownloadDialog* download = nullptr;
    StatusDialog* status = nullptr;
    ProcessRunningWarning* warning = nullptr;
    LanguageDialog* language = nullptr;
    SelfTestWarning* selfTestWarning = nullptr;
    // Not a window: what the File menu does with program files (made with the main window).
    ProgramFileCommands* programFiles = nullptr;
};

} // namespace trv
