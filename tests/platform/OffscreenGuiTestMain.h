// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QGuiApplication>

#include <gtest/gtest.h>

// The body of main() for platform tests that need a GUI application but show no window of their
// own: Qt's offscreen platform, whatever display the session has.
inline int runOffscreenGuiTests(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
