#pragma once

#include "data/DataFolder.h"
#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

namespace trv::test {

// Error boxes are recorded instead of blocking.
class RecordingErrorDisplay : public ErrorDisplay {
public:
    struct Box {
        QString title;
        QString text;
        Icon icon;
        bool withSound;
    };
    std::vector<Box> boxes;
    std::function<void()> whileShown; // runs where the modal box would wait for the user
    void show(QWidget*, const QString& title, const QString& text, Icon icon, bool withSound) override {
        boxes.push_back({title, text, icon, withSound});
        if (whileShown)
            whileShown();
    }
};

// A Qt warning is a fault the windows' tests must see: each fails the test that caused it, but
// for what the platform says of its own limits (the offscreen platform, no runtime folder).
inline void FailOnQtWarnings() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtDebugMsg || type == QtInfoMsg)
            return;
        static const char* const environmental[] = {
            "QStandardPaths: ",
            "This plugin does not support",
        };
        for (const char* prefix : environmental) {
            if (message.startsWith(QLatin1String(prefix)))
                return;
        }
        ADD_FAILURE() << "Qt " << (type == QtWarningMsg ? "warning" : "error") << ": " << message.toStdString();
        if (type == QtFatalMsg)
            std::abort();
    });
}

// The windows need a QApplication; offscreen unless the caller chose a platform.
inline int RunGuiTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    FailOnQtWarnings();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace trv::test
