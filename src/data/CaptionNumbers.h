#pragma once

// Numbers of the texts in a language's caphint.txt. Lines 1 to 36 are the main window's captions
// and hints (MainText, line - 1); from line 37 on, line 37 + k holds entry k of the dialogs'
// caption table. The numbers are part of the file format: every language's caphint.txt binds to them.

#include <algorithm>
#include <iterator>

namespace trv {

// Lines 1 to 36 of caphint.txt, by the main window's control whose text they are (value = line - 1).
enum class MainText {
    ListGroupCaption = 0,
    ProgListBoxHint,
    ControlGroupCaption,
    ControlListBoxHint,
    TimeLabelCaption,
    ACButtonCaption,
    ACButtonHint,
    DelButtonCaption,
    DelButtonHint,
    APButtonCaption,
    APButtonHint,
    Label1Caption,
    EditMinHint,
    Label2Caption,
    EditSecHint,
    AWButtonCaption,
    AWButtonHint,
    NewButtonCaption,
    NewButtonHint,
    FlagImageHint,
    DlButtonCaption,
    DlButtonHint,
    StatButtonCaption,
    StatButtonHint,
    ExitButtonCaption,
    ExitButtonHint,
    LOGroupBoxCaption,
    NumRBCaption,
    AlphaRBCaption,
    TimeListHint,
    Unused31,
    Unused32,
    ProtocolTSCaption,
    SessionTSCaption,
    ProgTSCaption,
    ElectrodeGBCaption,
};

namespace caption {

// Entries of the dialogs' caption table, by window and control.

// Download dialog (TFormDl).
inline constexpr int DownloadTitle = 0;
inline constexpr int DownloadListHint = 1; // ListBox1, the steps of the download
inline constexpr int DownloadProgressHint = 2;
inline constexpr int DownloadStart = 3;
inline constexpr int DownloadStartHint = 4;
inline constexpr int DownloadClose = 5;
inline constexpr int DownloadCloseHint = 6;

// Process-running warning (TFormW).
inline constexpr int ProcessRunningTitle = 7;
inline constexpr int ProcessRunningLine1 = 8; // Label1
inline constexpr int ProcessRunningLine2 = 9; // Label2
inline constexpr int ProcessRunningAbort = 10;
inline constexpr int ProcessRunningAbortHint = 11;
inline constexpr int ProcessRunningContinue = 12;
inline constexpr int ProcessRunningContinueHint = 13;

// Device Status dialog (TFormStat).
inline constexpr int StatusTitle = 14;
inline constexpr int StatusProgramGroup = 15;       // GroupBox1
inline constexpr int StatusProgramListHint = 16;    // ListBox1, the control program
inline constexpr int StatusWholeGroup = 17;         // GroupBox2, the whole program's times
inline constexpr int StatusTotalTime = 18;          // Label1 and Label3
inline constexpr int StatusRemainingTime = 19;      // Label2 and Label4
inline constexpr int StatusItemGroup = 20;          // GroupBox3, the current item's times
inline constexpr int StatusWholeTotalHint = 21;     // ListBox2
inline constexpr int StatusWholeRemainingHint = 22; // ListBox3
inline constexpr int StatusItemTotalHint = 23;      // ListBox4
inline constexpr int StatusItemRemainingHint = 24;  // ListBox5
inline constexpr int StatusState = 25;              // Label5
inline constexpr int StatusStateHint = 26;          // ListBox6
inline constexpr int StatusWait = 27;               // WRCButton holding a running program
inline constexpr int StatusWaitHint = 28;
inline constexpr int StatusPower = 29;     // Label6
inline constexpr int StatusPowerHint = 30; // PowerProgressBar
inline constexpr int StatusClose = 31;
inline constexpr int StatusCloseHint = 32;
inline constexpr int StatusProgress = 33;     // Label7
inline constexpr int StatusProgressHint = 34; // ProgProgressBar
// WRCButton letting a waiting program go on: the process-running warning's texts.
inline constexpr int StatusContinue = ProcessRunningContinue;
inline constexpr int StatusContinueHint = ProcessRunningContinueHint;
inline constexpr int StatusResume = 43; // WRCButton downloading a saved program again
inline constexpr int StatusResumeHint = 44;

// Low-power warning (TContForm).
inline constexpr int LowPowerTitle = 35;
inline constexpr int LowPowerLine1 = 36; // Label1
inline constexpr int LowPowerLine2 = 37; // Label2
inline constexpr int LowPowerLine3 = 38; // Label3
inline constexpr int LowPowerContinue = 39;
inline constexpr int LowPowerContinueHint = 40;
inline constexpr int LowPowerBreak = 41;
inline constexpr int LowPowerBreakHint = 42;

// The entries some window shows, in ascending order.
inline constexpr int InUse[] = {
    DownloadTitle,
    DownloadListHint,
    DownloadProgressHint,
    DownloadStart,
    DownloadStartHint,
    DownloadClose,
    DownloadCloseHint,
    ProcessRunningTitle,
    ProcessRunningLine1,
    ProcessRunningLine2,
    ProcessRunningAbort,
    ProcessRunningAbortHint,
    ProcessRunningContinue,
    ProcessRunningContinueHint,
    StatusTitle,
    StatusProgramGroup,
    StatusProgramListHint,
    StatusWholeGroup,
    StatusTotalTime,
    StatusRemainingTime,
    StatusItemGroup,
    StatusWholeTotalHint,
    StatusWholeRemainingHint,
    StatusItemTotalHint,
    StatusItemRemainingHint,
    StatusState,
    StatusStateHint,
    StatusWait,
    StatusWaitHint,
    StatusPower,
    StatusPowerHint,
    StatusClose,
    StatusCloseHint,
    StatusProgress,
    StatusProgressHint,
    LowPowerTitle,
    LowPowerLine1,
    LowPowerLine2,
    LowPowerLine3,
    LowPowerContinue,
    LowPowerContinueHint,
    LowPowerBreak,
    LowPowerBreakHint,
    StatusResume,
    StatusResumeHint,
};

static_assert(std::is_sorted(std::begin(InUse), std::end(InUse)) &&
              std::adjacent_find(std::begin(InUse), std::end(InUse)) == std::end(InUse));

// The main window's lines that fill a text: all but lines 31 and 32, which are there unshown.
inline constexpr MainText MainInUse[] = {
    MainText::ListGroupCaption,   MainText::ProgListBoxHint,   MainText::ControlGroupCaption,
    MainText::ControlListBoxHint, MainText::TimeLabelCaption,  MainText::ACButtonCaption,
    MainText::ACButtonHint,       MainText::DelButtonCaption,  MainText::DelButtonHint,
    MainText::APButtonCaption,    MainText::APButtonHint,      MainText::Label1Caption,
    MainText::EditMinHint,        MainText::Label2Caption,     MainText::EditSecHint,
    MainText::AWButtonCaption,    MainText::AWButtonHint,      MainText::NewButtonCaption,
    MainText::NewButtonHint,      MainText::FlagImageHint,     MainText::DlButtonCaption,
    MainText::DlButtonHint,       MainText::StatButtonCaption, MainText::StatButtonHint,
    MainText::ExitButtonCaption,  MainText::ExitButtonHint,    MainText::LOGroupBoxCaption,
    MainText::NumRBCaption,       MainText::AlphaRBCaption,    MainText::TimeListHint,
    MainText::ProtocolTSCaption,  MainText::SessionTSCaption,  MainText::ProgTSCaption,
    MainText::ElectrodeGBCaption,
};

} // namespace caption
} // namespace trv
