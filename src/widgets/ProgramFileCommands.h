#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QMenu;
class QMimeData;
class QWidget;

namespace trv {

class ErrorDisplay;
class MainController;
class RecentPrograms;

// What the main window's File menu does with program files: open one (from a file dialog, the
// Open Recent list, the command line or a drop), save the control program as one. Problems and
// notices are shown in the window's error boxes; every file opened or saved goes first in the
// recent list. A program opened keeps its title and note when it is saved again.
class ProgramFileCommands : public QObject {
    Q_OBJECT
public:
    // window: the parent of the file dialogs and boxes, and the window files are dropped on; it
    // owns this object.
    ProgramFileCommands(MainController& controller, ErrorDisplay& errors, std::unique_ptr<RecentPrograms> recent,
                        QWidget& window);
    ~ProgramFileCommands() override;

    RecentPrograms& recent() { return *recent_; }

    // "Open Program..." (Ctrl+O): asks for a file, then opens it.
    void openWithDialog();
    // "Save Program As..." (Ctrl+S): asks for a name (".trvp" added when it has no extension), then saves.
    void saveAsWithDialog();
    // Opens a file; true when its program is now the control program. A file that can't be read
    // leaves the recent list.
    bool open(const QString& path);
    // Saves the control program; true when the file was written.
    bool save(const QString& path);
    // Fills an "Open Recent" menu (call from its aboutToShow).
    void fillRecentMenu(QMenu& menu);

    // Lets the window take program files dropped on it: its drag and drop events come here.
    void acceptDrops();
    // The local files a drag carries that look like program files (by their extension).
    static QStringList droppedProgramFiles(const QMimeData& data);

    // The filter of the file dialogs, e.g. "Control programs (*.trvp)".
    static QString fileFilter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainController& controller_;
    ErrorDisplay& errors_;
    std::unique_ptr<RecentPrograms> recent_;
    QWidget& window_;
    QString title_;
    QString note_;
    QString lastFolder_;
};

} // namespace trv
