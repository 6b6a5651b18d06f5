#pragma once

#include "data/ProgramFinder.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace trv {

// "Find Program": the programs whose number or name holds what is typed, found as it is typed
// (case and accents ignored). Enter shows the program selected on the main window's programs
// page; Enter again on the same program, or a double-click, adds it to the control program. The
// dialog stays open for the next one; Escape closes it.
class ProgramFinderDialog : public QDialog {
    Q_OBJECT
public:
    struct Actions {
        // Brings the programs page to the front with this program (by number) selected.
        std::function<void(int number)> select;
        // Adds the program to the control program, as "<< Add to Control" does.
        std::function<void(int number)> add;
    };

    ProgramFinderDialog(Actions actions, QWidget* parent = nullptr);

    // The programs and names to search: call at start and after each language change.
    void setCatalogue(const ProgramCatalogue& catalogue);

    // Enter: select the current result; the same result a second time adds it.
    void acceptCurrent();
    // The program numbers listed, in their order.
    const std::vector<int>& results() const { return results_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void search();
    void addItem(QListWidgetItem* item);
    int currentNumber() const;

    Actions actions_;
    ProgramFinder finder_;
    std::vector<int> results_;
    int selectedNumber_ = 0; // the program the last Enter selected; 0 when none
    QLineEdit* FindEdit = nullptr;
    QListWidget* ResultList = nullptr;
};

} // namespace trv
