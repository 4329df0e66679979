#include <gtest/gtest.h>

#include <QApplication>

// Widgets need an application object; the offscreen platform gives one without a display. Kept
// apart from the tests, which see the day's Display (Qt's X11 headers declare one too).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
