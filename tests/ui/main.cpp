// Runs the window tests inside one QApplication on the offscreen platform.
// Its screen is roomy (2560 × 1600) unless the platform is given one of its
// own, so that the window is shown at its design size; the runs on other
// screens name a screen file of screens/.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        platform = "offscreen:configfile=" CXB_TEST_SCREENS "/roomy.json";
    qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
