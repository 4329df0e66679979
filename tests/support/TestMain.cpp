// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ctime>

// The Qt application object the cases of one executable need, chosen where the executable is
// defined (tockwork_add_test's MAIN): core for event loops, sockets and timers, gui for painting
// and fonts, widgets for windows.
#if defined(TOCKWORK_TEST_MAIN_CORE)
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#elif defined(TOCKWORK_TEST_MAIN_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

int main(int argc, char** argv)
{
    // Windows and pictures need no display: the offscreen platform, unless a run asks for a real
    // one. Day keys, hours and weekdays in the cases are Seoul's wherever the tests run, also when
    // the binary is started by hand without the environment CTest gives it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TZ")) {
        qputenv("TZ", "Asia/Seoul");
        tzset();
    }
    TestApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
