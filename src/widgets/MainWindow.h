#pragma once

#include "logic/AppContext.h"
#include "logic/MainController.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
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
class UpDown;

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

protected:
    // FormClose: the close-down, then the window closes and the application ends.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
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

    QTabWidget* ProgPC = nullptr;
    QWidget* ProtocolTS = nullptr;
    QGroupBox* ProtocolGB = nullptr;
    QTreeWidget* ProtocolTW = nullptr;
    QGroupBox* ProtocolTRVGB = nullptr;
    QListWidget* ProtocolTRVLB = nullptr;
    QGroupBox* ElectrodeGB = nullptr;
    QLabel* LabelA = nullptr;
    QListWidget* ALB = nullptr;
    QLabel* LabelB = nullptr;
    QListWidget* BLB = nullptr;
    QLabel* LabelC = nullptr;
    QListWidget* CLB = nullptr;
    QWidget* SessionTS = nullptr;
    QGroupBox* SessionGB = nullptr;
    QListWidget* SessionLB = nullptr;
    QGroupBox* SessionTRVGB = nullptr;
    QListWidget* SessionTRVLB = nullptr;
    QWidget* ProgTS = nullptr;
    QGroupBox* ListGroup = nullptr;
    QListWidget* ProgListBox = nullptr;
    QGroupBox* ControlGroup = nullptr;
    QListWidget* ControlListBox = nullptr;
    QLabel* TimeLabel = nullptr;
    QListWidget* TimeList = nullptr;
    QPushButton* ACButton = nullptr;
    QPushButton* DelButton = nullptr;
    QPushButton* APButton = nullptr;
    QLineEdit* EditMin = nullptr;
    QLabel* Label1 = nullptr;
    UpDown* UpDownMin = nullptr;
    QLineEdit* EditSec = nullptr;
    QLabel* Label2 = nullptr;
    UpDown* UpDownSec = nullptr;
    QPushButton* AWButton = nullptr;
    QPushButton* NewButton = nullptr;
    FlagImageLabel* FlagImage = nullptr;
    QPushButton* DlButton = nullptr;
    QPushButton* TestButton = nullptr;
    QGroupBox* LOGroupBox = nullptr;
    QRadioButton* NumRB = nullptr;
    QRadioButton* AlphaRB = nullptr;
    QPushButton* StatButton = nullptr;
    QPushButton* ExitButton = nullptr;

    // Declared last: its start-up fills the controls above.
    MainController controller_;
};

} // namespace trv
