#include "GuiTestSupport.h"

#include "app/TrvApplication.h"

#include <QByteArray>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Nothing here needs a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    trv::test::FailOnQtWarnings();
    testing::InitGoogleTest(&argc, argv);
    trv::TrvApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
