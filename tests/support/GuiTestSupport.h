#pragma once

#include "data/DataFolder.h"
#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

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

// The windows need a QApplication; offscreen unless the caller chose a platform.
inline int RunGuiTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace trv::test
