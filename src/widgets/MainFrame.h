#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTranslator>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace trv {

struct AppContext;
class AfterFirstPaint;
class MainWindow;
class ProgramFileCommands;
class ProgramFinderDialog;
class TreatmentRecord;

// The top-level window: the menu bar above the main window, which keeps the design's client area
// as it is. The menus reach what the design never had: program files, the program finder, the
// treatment record and the diagnostics. Their texts follow the chosen language through the
// toolkit's translations (English where a language has none).
class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Services {
        ProgramFileCommands* programFiles = nullptr;
        QString recordPath;             // the treatment record's file; empty: no Record menu entry works
        TreatmentRecord* record = nullptr;      // the record's writer and window, once loaded
    };

    MainFrame(MainWindow& main, AppContext& context, Services services);
    ~MainFrame() override;

    MainWindow& main() { return main_; }
    // The record, once its module is loaded and its writer runs: the record window follows what it writes.
    void setTreatmentRecord(TreatmentRecord* record) { services_.record = record; }
    // The action of a menu entry by its object name ("OpenProgramAction", ...), for tests.
    QAction* action(const char* name) const;
    // Makes the menus now if they aren't yet (they are made after the first paint).
    void buildMenus();
    void openFinder();
    void openRecord();
    QString diagnosticReport() const;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void retranslate();
    void followLanguage();
    void showAbout();

    MainWindow& main_;
    AppContext& context_;
    Services services_;
    QTranslator translator_;
    QString translatorLanguage_;
    // The bar's entries, and the menus they open, made once the window has been painted.
    QAction* fileEntry_ = nullptr;
    QAction* recordEntry_ = nullptr;
    QAction* helpEntry_ = nullptr;
    std::unique_ptr<AfterFirstPaint> menusLater_;
    QMenu* fileMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* recordAction_ = nullptr;
    QAction* trafficAction_ = nullptr;
    QAction* notificationsAction_ = nullptr;
    QAction* logFolderAction_ = nullptr;
    QAction* reportAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QPointer<ProgramFinderDialog> finder_;
    QPointer<QWidget> record_;
};

} // namespace trv
