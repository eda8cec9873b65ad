// The main of every test program: a QApplication on the offscreen platform, and a
// process-wide temporary HOME so that even a test without the TempHomeTest fixture never
// touches the home of whoever runs it. Tests find the source tree and the built programs
// (fvtool, folvane3) through $FOLVANE_SOURCE_DIR and $FOLVANE_BIN_DIR, set here unless the
// caller already set them.
#include "support/FakeSession.h"
#include "support/TempHome.h"
#include "support/WebEngineEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("FOLVANE_SOURCE_DIR"))
        qputenv("FOLVANE_SOURCE_DIR", FOLVANE_SOURCE_DIR);
    if (!qEnvironmentVariableIsSet("FOLVANE_BIN_DIR"))
        qputenv("FOLVANE_BIN_DIR", FOLVANE_BIN_DIR);
    TempHome processHome;
    FakeSession noRealPowerOff; // a test that forgets its own fake still cannot log off or shut down
    prepareWebEngineForTests();
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    TempHome::removeAgainAfterLateWriters();
    return result;
}
