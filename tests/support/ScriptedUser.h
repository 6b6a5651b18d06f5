#pragma once

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>
#include <vector>

namespace trv::test {

// A user who acts on the dialog on top whenever the next condition holds.
class ScriptedUser {
public:
    struct Action {
        const char* what;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    explicit ScriptedUser(std::vector<Action> actions) : actions_(std::move(actions)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (next_ < actions_.size() && actions_[next_].ready()) {
                // Acted on outside this slot: an action may open a modal dialog, and a timer doesn't
                // fire again while its own slot is still running.
                if (qEnvironmentVariableIsSet("TRV_TRACE_USER"))
                    qWarning("user: %s", actions_[next_].what);
                QTimer::singleShot(0, &timer_, actions_[next_++].act);
            }
        });
        timer_.start();
    }
    size_t done() const { return next_; }
    const char* waitingFor() const { return next_ < actions_.size() ? actions_[next_].what : "nothing"; }

private:
    std::vector<Action> actions_;
    size_t next_ = 0;
    QTimer timer_;
};

inline bool onTop(QWidget& dialog) {
    return QApplication::activeModalWidget() == &dialog;
}

inline QPushButton* button(QWidget& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
}

inline QStringList lines(QWidget& dialog) {
    QStringList out;
    const auto* list = dialog.findChild<QListWidget*>("ListBox1");
    for (int k = 0; k < list->count(); ++k)
        out << list->item(k)->text();
    return out;
}

inline void click(QWidget& dialog, const char* name) {
    QTest::mouseClick(button(dialog, name), Qt::LeftButton);
}

} // namespace trv::test
