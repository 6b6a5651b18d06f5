#include "widgets/ProgramFinderDialog.h"

#include "widgets/DialogText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace trv {

ProgramFinderDialog::ProgramFinderDialog(Actions actions, QWidget* parent)
    : QDialog(parent), actions_(std::move(actions)) {
    setObjectName(QStringLiteral("ProgramFinder"));
    setWindowTitle(tr("Find Program"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("Program number or name:"), this);
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setClearButtonEnabled(true);
    prompt->setBuddy(FindEdit);
    ResultList = new QListWidget(this);
    ResultList->setObjectName(QStringLiteral("ResultList"));
    ResultList->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list follows the keyboard from the text field; typing never leaves it.
    ResultList->setFocusPolicy(Qt::NoFocus);
    auto* hint =
        new QLabel(tr("Enter shows the program in the list, Enter again adds it to the control program."), this);
    hint->setWordWrap(true);
    layout->addWidget(prompt);
    layout->addWidget(FindEdit);
    layout->addWidget(ResultList, 1);
    layout->addWidget(hint);
    resize(420, 360);

    connect(FindEdit, &QLineEdit::textChanged, this, &ProgramFinderDialog::search);
    connect(ResultList, &QListWidget::itemDoubleClicked, this, &ProgramFinderDialog::addItem);
}

void ProgramFinderDialog::setCatalogue(const ProgramCatalogue& catalogue) {
    finder_ = ProgramFinder(catalogue);
    selectedNumber_ = 0;
    search();
}

void ProgramFinderDialog::search() {
    results_ = finder_.find(FindEdit->text().toStdString());
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(results_.size()));
    for (const int number : results_)
        lines.append(QStringLiteral("%1  %2").arg(number, 3).arg(DialogText(finder_.name(number))));
    ResultList->clear();
    ResultList->addItems(lines);
    if (!results_.empty())
        ResultList->setCurrentRow(0);
}

int ProgramFinderDialog::currentNumber() const {
    const int row = ResultList->currentRow();
    return row >= 0 && row < static_cast<int>(results_.size()) ? results_[static_cast<size_t>(row)] : 0;
}

void ProgramFinderDialog::acceptCurrent() {
    const int number = currentNumber();
    if (number == 0)
        return;
    if (number == selectedNumber_) {
        // Added once per second Enter: a third one selects again rather than adding twice by accident.
        selectedNumber_ = 0;
        if (actions_.add)
            actions_.add(number);
        return;
    }
    selectedNumber_ = number;
    if (actions_.select)
        actions_.select(number);
}

void ProgramFinderDialog::addItem(QListWidgetItem* item) {
    const int row = ResultList->row(item);
    if (row < 0 || row >= static_cast<int>(results_.size()))
        return;
    const int number = results_[static_cast<size_t>(row)];
    if (actions_.select)
        actions_.select(number);
    if (actions_.add)
        actions_.add(number);
    selectedNumber_ = 0;
}

void ProgramFinderDialog::keyPressEvent(QKeyEvent* event) {
    const int rows = ResultList->count();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        acceptCurrent();
        return;
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
        if (rows == 0)
            return;
        const int page = 10;
        const int step = event->key() == Qt::Key_Down       ? 1
                         : event->key() == Qt::Key_Up       ? -1
                         : event->key() == Qt::Key_PageDown ? page
                                                            : -page;
        ResultList->setCurrentRow(std::clamp(ResultList->currentRow() + step, 0, rows - 1));
        return;
    }
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace trv
