#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testsupport::prepareEnvironment();
    // The offscreen screen is 800x800 unless told otherwise; the main window needs 1024x768.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + TUNARA_TEST_SCREENS);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
