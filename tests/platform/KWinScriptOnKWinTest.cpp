// SPDX-License-Identifier: GPL-3.0-or-later
#include "OffscreenGuiTestMain.h"
#include "platform/FrontmostApp.h"
#include "platform/linux/KWinScript.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <functional>

// Our script inside a real KWin (kwin_wayland --virtual) with a real native GTK window and a real
// XWayland xterm. Run inside scripts/kwin-session.sh by the test suite; elsewhere each case is
// skipped.
namespace {

const QString kScript = QStringLiteral(TOCKWORK_KWIN_SCRIPT);

QDBusMessage scripting(const QString& method, const QVariantList& args)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), QStringLiteral("/Scripting"),
                                       QStringLiteral("org.kde.kwin.Scripting"), method);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

bool scriptLoaded()
{
    const QDBusMessage reply =
        scripting(QStringLiteral("isScriptLoaded"), {KWinScript::kPluginName});
    return !reply.arguments().isEmpty() && reply.arguments().constFirst().toBool();
}

class KWinScriptOnKWin : public testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("KWIN_SESSION_DIR"))
            GTEST_SKIP() << "needs a KWin session (the suite runs this inside "
                            "scripts/kwin-session.sh)";
    }
    void TearDown() override
    {
        for (QProcess* p : {&gtk, &xterm}) {
            p->kill();
            p->waitForFinished(5000);
        }
        scripting(QStringLiteral("unloadScript"), {KWinScript::kPluginName});
    }
    bool startGtk()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
        gtk.setProcessEnvironment(env);
        gtk.start(QStringLiteral("gtk3-widget-factory"), {});
        return gtk.waitForStarted();
    }

    QProcess gtk, xterm;
};

TEST_F(KWinScriptOnKWin, ReportsTheActiveWindowAndItsCaptionAndIsUnloadedAfter)
{
    auto script = KWinScript::loadIntoSession(kScript);
    ASSERT_TRUE(script) << "KWin offers org.kde.KWin on the session bus";
    // The first report comes at once: nothing is active on an empty desktop.
    ASSERT_TRUE(waitFor([&] { return script->reporting(); }));
    EXPECT_FALSE(script->active());
    EXPECT_TRUE(scriptLoaded());

    ASSERT_TRUE(startGtk());
    ASSERT_TRUE(waitFor([&] {
        return script->active() &&
               script->active()->resourceClass == QStringLiteral("gtk3-widget-factory");
    }));
    EXPECT_EQ(script->active()->pid, gtk.processId());
    const auto native = KWinScript::frontWindow(script->active(), std::nullopt);
    ASSERT_TRUE(native);
    EXPECT_EQ(native->appName, QStringLiteral("Widget Factory")) << "Debian's desktop entry";
    EXPECT_EQ(native->executable, QStringLiteral("gtk3-widget-factory"));

    // xterm retitles itself once running: the caption follows without another activation.
    xterm.start(QStringLiteral("xterm"),
                {QStringLiteral("-title"), QStringLiteral("first"), QStringLiteral("-e"),
                 QStringLiteral("sh"), QStringLiteral("-c"),
                 QStringLiteral("sleep 1; printf '\\033]2;월루 중\\007'; sleep 60")});
    ASSERT_TRUE(xterm.waitForStarted());
    ASSERT_TRUE(waitFor([&] {
        return script->active() && script->active()->resourceClass == QStringLiteral("xterm") &&
               script->active()->caption == QStringLiteral("월루 중");
    })) << (script->active() ? script->active()->caption.toStdString() : "nothing active");

    xterm.kill();
    gtk.kill();
    EXPECT_TRUE(waitFor([&] { return !script->active(); }));

    script.reset();
    EXPECT_FALSE(scriptLoaded()) << "unloaded when TockWork quits";
}

TEST_F(KWinScriptOnKWin, AScriptLeftBehindIsReplacedAndASecondTockWorkLeavesItAlone)
{
    // As a TockWork that crashed leaves it: loaded under our name (not running here).
    ASSERT_GE(scripting(QStringLiteral("loadScript"), {kScript, KWinScript::kPluginName})
                  .arguments()
                  .value(0)
                  .toInt(),
              0);
    auto first = KWinScript::loadIntoSession(kScript);
    ASSERT_TRUE(first);
    ASSERT_TRUE(waitFor([&] { return first->reporting(); }));

    EXPECT_FALSE(KWinScript::loadIntoSession(kScript)) << "the reports go to the first already";
    EXPECT_TRUE(scriptLoaded());

    first.reset();
    EXPECT_FALSE(scriptLoaded());
}

TEST_F(KWinScriptOnKWin, TheFrontmostAppNamesAnXWaylandWindowWithWhatX11Knows)
{
    FrontmostApp front;
    ASSERT_TRUE(waitFor([&] { return front.source() == FrontSource::kwinScript; }));
    xterm.start(QStringLiteral("xterm"), {});
    ASSERT_TRUE(xterm.waitForStarted());
    ASSERT_TRUE(waitFor([&] {
        return front.current() && front.current()->pid == xterm.processId() &&
               front.current()->instance == QStringLiteral("xterm");
    })) << (front.current() ? front.current()->windowClass.toStdString() : "nothing in front");
    // The X11 connection's class, as on X11 and sway.
    EXPECT_EQ(front.current()->windowClass, QStringLiteral("XTerm"));
}

} // namespace

int main(int argc, char** argv)
{
    // No window of our own: offscreen leaves the X11 source a connection of its own to XWayland,
    // as under Qt's Wayland plugin.
    return runOffscreenGuiTests(argc, argv);
}
