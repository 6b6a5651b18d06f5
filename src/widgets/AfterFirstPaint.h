#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace trv {

// Runs a task once, as soon as the window's first paint is done, so the work it does doesn't hold
// back what the user sees first. Should user input reach any window before that, the task runs
// first, so what it prepares is there whenever something needs it.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& window, std::function<void()> task);
    ~AfterFirstPaint() override;

    // Runs the task now unless it has run.
    void runNow();
    bool done() const { return !task_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    std::function<void()> task_;
    bool queued_ = false;
};

} // namespace trv
