// SPDX-License-Identifier: GPL-3.0-or-later
// One private session bus and one application for the whole binary: the tray speaks D-Bus, and
// its menu is a widget.

#include "tray/PrivateBus.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/types.h>

namespace {

pid_t g_busPid = 0;

// A dbus-daemon of our own, started before anything in the process opens the session bus, so the
// tests meet no desktop's tray and no other test run.
bool startPrivateBus()
{
    FILE* out =
        popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (!out)
        return false;
    char address[512] = {};
    long pid = 0;
    const bool read =
        std::fgets(address, sizeof address, out) && std::fscanf(out, "%ld", &pid) == 1;
    pclose(out);
    if (!read || pid <= 0)
        return false;
    QByteArray value(address);
    qputenv("DBUS_SESSION_BUS_ADDRESS", value.trimmed());
    g_busPid = pid_t(pid);
    return true;
}

} // namespace

bool privateBusRunning()
{
    return g_busPid > 0;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    if (!startPrivateBus())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    int status = 0;
    {
        QApplication app(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    if (g_busPid > 0)
        kill(g_busPid, SIGTERM);
    return status;
}
