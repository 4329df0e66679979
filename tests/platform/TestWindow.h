// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

#include "DesktopSession.h"

// Tests that need the desktop skip where it could not start.
class DesktopTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!DesktopSession::available())
            GTEST_SKIP() << DesktopSession::whyUnavailable().toStdString();
    }
};

// An application window in a process of its own, with the WM_CLASS and title it is given.
class TestWindow final
{
public:
    TestWindow(const QString& windowClass, const QString& instance, const QString& title);
    ~TestWindow();

    bool shown() const { return id_ != 0; }
    qulonglong id() const { return id_; }
    qint64 pid() const { return process_.processId(); }
    void setTitle(const QString& title);
    // Asks the window manager to bring it to the front and waits until it has.
    bool activate();
    // Gives it the X input focus directly, as a desktop without a window manager would.
    bool focus();
    void close();

private:
    QProcess process_;
    qulonglong id_ = 0;
};
