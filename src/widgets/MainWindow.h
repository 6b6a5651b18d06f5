#pragma once

#include "logic/AppContext.h"
#include "logic/MainController.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace trv {

class FlagDecoder;
class FlagImageLabel;
class WindowBuilder;

// The main window. Its construction runs the whole start-up; a failure there is shown and ends
// the application (startupFailed()), and the window is then never shown.
class MainWindow : public QWidget, private MainView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 799;
    static constexpr int ClientHeight = 556;
    static const char* const Caption;

    // How the application is ended, with its exit code: 1 after a failed start-up, 0 after a close.
    using QuitApplication = std::function<void(int exitCode)>;

    // Hands over the start-up's files read ahead; the window reads them itself without one.
    using StartupFilesSource = std::function<StartupFiles()>;

    // quit: by default the exit is posted to the event loop, so it takes effect once the loop runs.
    MainWindow(AppContext& context, ErrorDisplay& errors, AppWindows& windows, QWidget* parent = nullptr,
               QuitApplication quit = {}, const StartupFilesSource& startupFiles = {});
    ~MainWindow() override;

    bool startupFailed() const { return controller_.ended(); }
    const MainController& controller() const { return controller_; }
    MainController& controller() { return controller_; }

    // Event handlers, named after their control and event.
    void ExitButtonClick();
    void DlButtonClick();
    void TestButtonClick();
    void StatButtonClick();
    void ACButtonClick();
    void ProgLBDoubleClick();
    void APButtonClick();
    void AWButtonClick();
    void DelButtonClick();
    void NewButtonClick();
    void ControlLB1Click();
    void ProgPCChange(int page);
    void ProtocolTWClick();
    void ProtocolTWDblClick();
    void SessionLBClick();
    void SessionLBDblClick();
    void NumRBClick();
    void AlphaRBClick();
    void FlagImageClick();

Q_SIGNALS:
    // The user chose another language and the window shows it (or kept the one in use).
    void languageChanged();

protected:
    // FormClose: the close-down, then the window closes and the application ends.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildPages(const WindowBuilder& build);
    void buildComposing(const WindowBuilder& build);
    void buildDeviceControls(const WindowBuilder& build);
    void connectEvents();
    // After a device dialog closed with the start acknowledged, the status dialog follows.
    void openStatusIfStarted();
    void quitApplication(int exitCode);

    // MainView
    FlagPicture& flagPicture() override;
    FlagPicture& flagCheck() override;
    void showFlagError() override;
    void ShowError(int message) override;
    void showStandardError(const std::string& text) override;
    void applyMainTexts(const MainWindowTexts& texts) override;
    void showListOrder(ListOrder order) override;
    void showControlProgram(const ControlProgram& control) override;
    void showProgramList(const std::vector<std::string>& lines) override;
    void showProtocolTexts(const ProtocolTexts& texts) override;
    void showProtocolNode(const ProtocolNodeView& node) override;
    void showSessionPrograms(const std::vector<std::string>& lines) override;
    int activePage() const override;
    void endApplication() override;

    AppContext& context_;
    ErrorDisplay& errors_;
    AppWindows& windows_;
    QuitApplication quit_;
    QString flagError_;
    std::unique_ptr<FlagDecoder> flagCheck_;
    bool closedDown_ = false;
    bool closePending_ = false;

    // The controls the window changes after it is built; the group boxes, labels and arrows are made
    // once and found by their design names where the language's texts go.
    QTabWidget* pages_ = nullptr;                // "ProgPC"
    QTreeWidget* protocolTree_ = nullptr;        // "ProtocolTW": protocols and their items
    QListWidget* protocolProgramList_ = nullptr; // "ProtocolTRVLB": the clicked protocol item's programs
    QListWidget* inputAList_ = nullptr;          // "ALB": the electrode on input A
    QListWidget* inputBList_ = nullptr;          // "BLB": the electrode on input B
    QListWidget* outputCList_ = nullptr;         // "CLB": the electrode on output C
    QListWidget* sessionList_ = nullptr;         // "SessionLB"
    QListWidget* sessionProgramList_ = nullptr;  // "SessionTRVLB": the clicked session's programs
    QListWidget* programList_ = nullptr;         // "ProgListBox": the whole catalogue
    QListWidget* controlList_ = nullptr;         // "ControlListBox": the control program being composed
    QListWidget* totalTimeList_ = nullptr;       // "TimeList": the control program's total time
    QPushButton* addButton_ = nullptr;           // "ACButton"
    QPushButton* deleteButton_ = nullptr;        // "DelButton"
    QPushButton* addPauseButton_ = nullptr;      // "APButton"
    QLineEdit* pauseMinutes_ = nullptr;          // "EditMin"
    QLineEdit* pauseSeconds_ = nullptr;          // "EditSec"
    QPushButton* addWaitButton_ = nullptr;       // "AWButton"
    QPushButton* newButton_ = nullptr;           // "NewButton"
    FlagImageLabel* flag_ = nullptr;             // "FlagImage": the language's flag
    QPushButton* downloadButton_ = nullptr;      // "DlButton"
    QPushButton* testButton_ = nullptr;          // "TestButton"
    QRadioButton* numericalOrder_ = nullptr;     // "NumRB"
    QRadioButton* alphabeticalOrder_ = nullptr;  // "AlphaRB"
    QPushButton* statusButton_ = nullptr;        // "StatButton"
    QPushButton* exitButton_ = nullptr;          // "ExitButton"

    // Declared last: its start-up fills the controls above.
    MainController controller_;
};

} // namespace trv
