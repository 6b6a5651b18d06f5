#pragma once

#include "data/CatalogueFile.h"
#include "data/LanguagePaths.h"
#include "data/ProtocolBrowser.h"
#include "data/ProtocolFile.h"
#include "data/ProtocolTexts.h"
#include "data/Settings.h"
#include "logic/AppContext.h"
#include "program/ProgramFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace trv {

// Pages of ProgPC, in their order.
enum class MainPage { Protocols = 0, Sessions = 1, Programs = 2 };

// The files of the start-up that need neither a window nor an earlier file, read and parsed ahead
// (the process entry does it beside the display connection). Start reports their faults at the
// point where it always has.
struct StartupFiles {
    StepTable steps;
    CatalogueHeaderResult header;
    ProtocolFileResult protocols;
};
StartupFiles ReadStartupFiles(const DataFolder& folder);

// What the main window's logic needs from the window. Texts are handed over as the 8-bit bytes of
// the language files; the window decodes them for display.
class MainView {
public:
    virtual ~MainView() = default;

    // The flag picture on screen: loading it shows it.
    virtual FlagPicture& flagPicture() = 0;
    // Decodes a flag without showing it, to check a language before switching to it.
    virtual FlagPicture& flagCheck() = 0;
    // The toolkit's file error of the last flag that could not be loaded (either of the two above).
    virtual void showFlagError() = 0;

    // Message k in an error box titled with message 0, after the error sound.
    virtual void ShowError(int message) = 0;
    // The application's standard error display (no sound); text is UTF-8.
    virtual void showStandardError(const std::string& text) = 0;

    virtual void applyMainTexts(const MainWindowTexts& texts) = 0;
    virtual void showListOrder(ListOrder order) = 0;
    virtual void showControlProgram(const ControlProgram& control) = 0;
    virtual void showProgramList(const std::vector<std::string>& lines) = 0;
    // Rebuilds the protocol tree and the session list (no node, no line selected afterwards).
    virtual void showProtocolTexts(const ProtocolTexts& texts) = 0;
    virtual void showProtocolNode(const ProtocolNodeView& node) = 0;
    virtual void showSessionPrograms(const std::vector<std::string>& lines) = 0;

    virtual int activePage() const = 0;
    // Posts the end of the application; the caller stops what it was doing.
    virtual void endApplication() = 0;
};

// The main window without its widgets: the start-up sequence, the actions behind every control,
// the language change and the close-down. The window forwards its events here and shows what
// this class hands to the MainView.
class MainController {
public:
    MainController(AppContext& context, MainView& view);

    // The start-up sequence, in its fixed order. false when a failure has ended the application.
    bool Start();
    // The same with the files read ahead.
    bool Start(StartupFiles files);
    bool ended() const { return ended_; }

    // --- state kept besides the control program ---
    int currentPage() const { return currentPage_; }
    const Settings& settings() const { return settings_; }
    const std::string& languageName() const { return settings_.languageName; }
    const LanguagePaths& languagePaths() const { return paths_; }
    const ProtocolFile& protocolFile() const { return protocolFile_; }
    const ProtocolTexts& protocolTexts() const { return protocolTexts_; }
    const ProtocolBrowser& protocolBrowser() const { return browser_; }

    // --- events of the main window ---
    void NumRBClick();
    void AlphaRBClick();
    void ProgPCChange(int page);
    // treePosition: the clicked node in tree order over all nodes; -1 when none is selected.
    void ProtocolTWClick(int treePosition);
    void ProtocolTWDblClick();
    // line: the selected line of SessionLB, -1 when none.
    void SessionLBClick(int line);
    void SessionLBDblClick(int line);
    // The selected lines of ProgListBox and SessionLB (-1 when none); which one counts depends on the page.
    void ACButtonClick(int programLine, int sessionLine);
    void ProgLBDoubleClick(int programLine);
    // The texts of EditMin and EditSec, UTF-8.
    void APButtonClick(std::string_view minutesText, std::string_view secondsText);
    void AWButtonClick();
    void DelButtonClick();
    void NewButtonClick();
    void ControlLB1Click(int line);

    // After the language dialog was confirmed with this name (8-bit, cut to 48 characters). The
    // chosen language's flag, names and protocol texts are loaded aside first; only when all of
    // them load is anything switched. Otherwise the error is shown and the language in force, the
    // lists and the control program stay. true when the language was applied.
    bool ChangeLanguage(std::string_view name);

    // --- the device actions' part on the main window's side ---
    // Download: start from item 0, no stored program, title marked 'P'.
    void PrepareDownload();
    // Self-test: the composed program is put aside and replaced by the self-test item; title marked 'X'.
    ControlProgram::Snapshot PrepareSelfTest();
    // Puts the composed program back after the self-test.
    void EndSelfTest(const ControlProgram::Snapshot& composed);

    // --- control programs kept in files ---
    // Opens a program file: its items become the control program, as a protocol item's
    // double-click makes them, shown with the names of the current language. On a problem the
    // control program stays as it was; the caller shows the problem and any notices.
    ProgramFileOpened OpenProgramFile(const std::string& path);
    // Saves the control program's items, with an optional title and note (UTF-8). The problem
    // when the file could not be written; an old file of that name then stays as it was.
    std::optional<ProgramFileIssue> SaveProgramFile(const std::string& path, const std::string& title = {},
                                                    const std::string& note = {}) const;

    // --- the program finder ---
    // The line of a program number in the program list as it is shown; -1 when it is not listed.
    int ProgramListLine(int number) const;
    // Adds a program by number, as "<< Add to Control" does with it selected on the programs page.
    void AddProgramNumber(int number);

    // Close-down: closes the device link and writes the settings (nothing is asked, the control
    // program is not saved). false when the settings could not be written.
    bool CloseDown();

private:
    void end();
    bool applyLanguage(LanguageLoadStage stage);
    void fillProgramList();
    void showControl();
    void loadList(const SessionProgramList* list);

    AppContext& context_;
    MainView& view_;
    Settings settings_;
    LanguagePaths paths_;
    ProtocolFile protocolFile_;
    ProtocolTexts protocolTexts_;
    ProtocolBrowser browser_;
    int currentPage_ = static_cast<int>(MainPage::Protocols);
    bool ended_ = false;
};

} // namespace trv
