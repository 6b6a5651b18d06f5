#pragma once

#include "GuiTestSupport.h"

#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/MainWindow.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QListWidget;
class QTreeWidgetItem;

namespace trv::test {

// A link to no device: every request fails as with the cable pulled.
class NoDeviceLink : public ReportLink {
public:
    bool WriteReport(std::span<const uint8_t>) override { return false; }
    ReadResult ReadReport(ReportData&) override { return ReadResult::NoDevice; }
    void CloseDevice() override { ++closeCount; }
    std::string openFailure() const override { return {}; }
    int closeCount = 0;
};

// The main window on a copy of the sample data in a temporary working folder. The copy starts
// with a settings file naming English in numerical order.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // --- the data folder copy ---
    std::string path(const std::string& relative) const;
    void writeFile(const std::string& relative, const std::string& bytes) const;
    std::string readFile(const std::string& relative) const;
    void removeFile(const std::string& relative) const;
    void writeSettings(const std::string& bytes) const { writeFile("trv.cff", bytes); }
    // Message k of a language folder's msg.txt, as the window shows it.
    QString message(const std::string& folderCode, int k) const;
    // Line (1-based) of a language folder's caphint.txt, as the window shows it.
    QString caption(const std::string& folderCode, int line) const;

    // --- the application ---
    // Creates the main window (running its start-up) and shows it.
    MainWindow& start();
    // Ends through the Exit button.
    void exitApplication();

    template <typename Widget> Widget* find(const char* name) const {
        Widget* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QStringList lines(const char* listName) const;
    void click(const char* buttonName) const;
    void clickLine(const char* listName, int row) const;
    void doubleClickLine(const char* listName, int row) const;
    // The tree node of a protocol (itemRow -1) or of one of its items, made visible.
    QTreeWidgetItem* treeNode(int protocolRow, int itemRow = -1) const;
    void clickNode(QTreeWidgetItem* node) const;
    void doubleClickNode(QTreeWidgetItem* node) const;
    void showPage(const char* pageName) const;

    // Runs action on the next modal dialog as soon as it is shown; with only given, on that dialog
    // once it is the active modal one.
    static void onNextModal(std::function<void(QDialog&)> action, const QWidget* only = nullptr);
    // Picks a language in the language dialog opened by a click on the flag.
    void chooseLanguage(const QString& name, bool confirm);

    QTemporaryDir dir;
    RecordingErrorDisplay errors;
    std::vector<int> quits; // exit codes the window ended the application with

    std::unique_ptr<DataFolder> folder;
    ProgramCatalogue catalogue;
    LanguageTexts texts;
    std::unique_ptr<ControlProgram> control;
    DeviceSession session;
    NoDeviceLink link;
    ReportLink* deviceLink = &link; // the link the application talks through
    std::unique_ptr<AppContext> context;
    AppWindows windows;
    std::unique_ptr<MainWindow> form;
    std::vector<std::unique_ptr<QWidget>> dialogs;
};

} // namespace trv::test
