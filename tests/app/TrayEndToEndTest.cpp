// Starts the real tockwork on a headless X server with a window manager and a real XEmbed tray
// host, and checks from the outside (the X window tree) that its icon lands in the tray.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

bool installed(const char* tool)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty();
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// Xvfb on a display of its own, openbox, and on request the trayer tray host.
class HeadlessDesktop
{
public:
    ~HeadlessDesktop()
    {
        for (QProcess* p : {&app, &tray, &wm, &xvfb})
            stop(*p);
    }

    bool start()
    {
        if (!home.isValid())
            return false;
        for (int attempt = 0; attempt < 20; ++attempt) {
            const int number = 97 + int(QRandomGenerator::global()->bounded(400));
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
                QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                continue;
            display = QStringLiteral(":%1").arg(number);
            xvfb.start(QStringLiteral("Xvfb"),
                       {display, QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1024x600x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
            if (!xvfb.waitForStarted(3000))
                return false;
            if (waitFor([&] { return run(QStringLiteral("xwininfo"), {"-root"}).ok; }, 5000))
                break;
            stop(xvfb);
        }
        if (xvfb.state() != QProcess::Running)
            return false;
        wm.setProcessEnvironment(environment());
        wm.start(QStringLiteral("openbox"), {});
        return wm.waitForStarted(3000);
    }

    bool startTray()
    {
        tray.setProcessEnvironment(environment());
        tray.start(QStringLiteral("trayer"),
                   {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24",
                    "--SetDockType", "true", "--transparent", "false", "--tint", "0x303030"});
        return tray.waitForStarted(3000) &&
               waitFor([&] { return !windowsOfClass(QStringLiteral("trayer")).isEmpty(); }, 5000);
    }

    bool startTockWork()
    {
        app.setProcessEnvironment(environment());
        app.start(QStringLiteral(TOCKWORK_EXE),
                  {QStringLiteral("--state"), QStringLiteral("근무")});
        return app.waitForStarted(5000);
    }

    struct Result
    {
        bool ok = false;
        QString out;
    };

    Result run(const QString& tool, const QStringList& args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(tool, args);
        if (!p.waitForFinished(10000)) {
            stop(p);
            return {};
        }
        return {p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                QString::fromLocal8Bit(p.readAllStandardOutput())};
    }

    // Ids of windows whose WM_CLASS names `cls` (instance or class, case-insensitive).
    QStringList windowsOfClass(const QString& cls) const
    {
        QStringList ids;
        for (const Window& w : tree())
            if (w.cls.contains(cls, Qt::CaseInsensitive))
                ids.append(w.id);
        return ids;
    }

    // True when a window of tockwork sits inside one of trayer's windows.
    bool iconEmbedded() const
    {
        const QList<Window> windows = tree();
        QList<int> trayDepths; // depths of the trayer windows enclosing the current line
        for (const Window& w : windows) {
            while (!trayDepths.isEmpty() && trayDepths.last() >= w.depth)
                trayDepths.removeLast();
            if (w.cls.contains(QLatin1String("tockwork"), Qt::CaseInsensitive) &&
                !trayDepths.isEmpty())
                return true;
            if (w.cls.contains(QLatin1String("trayer"), Qt::CaseInsensitive))
                trayDepths.append(w.depth);
        }
        return false;
    }

    template <typename Predicate> static bool waitFor(Predicate done, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            if (done())
                return true;
            QThread::msleep(100);
        }
        return done();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Seoul"));
        // Keep the XEmbed tray the only one: no session bus, no Wayland, no forced platform.
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return env;
    }

    QTemporaryDir home;
    QString display;
    QProcess xvfb, wm, tray, app;

private:
    struct Window
    {
        int depth;
        QString id;
        QString cls;
    };

    QList<Window> tree() const
    {
        // e.g. `     0x1a00007 "trayer": ("trayer" "Trayer")  61x24+0+0  +963+0`
        static const QRegularExpression line(
            QStringLiteral(R"(^(\s*)(0x[0-9a-f]+) .*?\((.*?)\)\s+\d+x\d+)"));
        QList<Window> windows;
        const QStringList lines =
            run(QStringLiteral("xwininfo"), {"-root", "-tree"}).out.split('\n');
        for (const QString& text : lines) {
            const QRegularExpressionMatch m = line.match(text);
            if (m.hasMatch())
                windows.append({int(m.capturedLength(1)), m.captured(2), m.captured(3)});
        }
        return windows;
    }
};

class TrayEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "openbox", "trayer", "xwininfo"})
            if (!installed(tool))
                GTEST_SKIP() << tool << " is not installed";
        ASSERT_TRUE(desktop.start()) << "no X server";
    }

    void screenshot(const QString& name)
    {
        if (!installed("import"))
            return;
        const QString dir = QStringLiteral(TOCKWORK_SCREEN_DIR);
        QDir().mkpath(dir);
        desktop.run(QStringLiteral("import"), {"-window", "root", dir + '/' + name});
    }

    HeadlessDesktop desktop;
};

TEST_F(TrayEndToEnd, IconIsEmbeddedInARunningTrayAndStaysUp)
{
    ASSERT_TRUE(desktop.startTray());
    ASSERT_TRUE(desktop.startTockWork());
    EXPECT_TRUE(HeadlessDesktop::waitFor([&] { return desktop.iconEmbedded(); }, 10000))
        << desktop.run("xwininfo", {"-root", "-tree"}).out.toStdString();

    QThread::sleep(3);
    EXPECT_EQ(desktop.app.state(), QProcess::Running)
        << desktop.app.readAllStandardError().toStdString();
    EXPECT_TRUE(desktop.iconEmbedded());
    screenshot(QStringLiteral("tray.png"));
}

TEST_F(TrayEndToEnd, IconAppearsInATrayThatStartsLater)
{
    ASSERT_TRUE(desktop.startTockWork());
    QThread::sleep(3);
    ASSERT_EQ(desktop.app.state(), QProcess::Running);
    EXPECT_FALSE(desktop.iconEmbedded());

    ASSERT_TRUE(desktop.startTray());
    EXPECT_TRUE(HeadlessDesktop::waitFor([&] { return desktop.iconEmbedded(); }, 10000))
        << desktop.run("xwininfo", {"-root", "-tree"}).out.toStdString();
    EXPECT_EQ(desktop.app.state(), QProcess::Running);
    screenshot(QStringLiteral("tray-late.png"));

    stop(desktop.app);
    const QString err = QString::fromLocal8Bit(desktop.app.readAllStandardError());
    EXPECT_EQ(err.count(QStringLiteral("no system tray")), 1) << err.toStdString();
}

// A StatusNotifierItem host (KDE, GNOME's AppIndicator extension, waybar, xfce4-panel's plugin)
// on a private session bus: the icon must register with its watcher and serve its pixels.
TEST_F(TrayEndToEnd, IconRegistersWithAStatusNotifierHost)
{
    if (!installed("dbus-daemon"))
        GTEST_SKIP() << "dbus-daemon is not installed";
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {"--session", "--nofork", "--nopidfile", "--print-address"});
    ASSERT_TRUE(bus.waitForStarted(3000));
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    const QString address = QString::fromLocal8Bit(bus.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());

    QProcessEnvironment env = desktop.environment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    QProcess host;
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(TOCKWORK_SNI_HOST), {});
    ASSERT_TRUE(host.waitForReadyRead(5000));
    ASSERT_TRUE(host.readLine().startsWith("ready"));

    desktop.app.setProcessEnvironment(env);
    desktop.app.start(QStringLiteral(TOCKWORK_EXE),
                      {QStringLiteral("--state"), QStringLiteral("근무")});
    ASSERT_TRUE(desktop.app.waitForStarted(5000));
    QByteArray said;
    HeadlessDesktop::waitFor(
        [&] {
            host.waitForReadyRead(100);
            said += host.readAll();
            return said.contains("registered");
        },
        10000);
    EXPECT_TRUE(said.contains("registered")) << said.toStdString();
    QThread::sleep(1);
    EXPECT_EQ(desktop.app.state(), QProcess::Running);

    stop(desktop.app);
    host.terminate();
    host.waitForFinished(3000);
    said += host.readAll();
    stop(host);
    stop(bus);
    // The host fetched real pixels at least once: the picture reached it.
    const QRegularExpressionMatch fetched =
        QRegularExpression(QStringLiteral(R"(fetches (\d+) bytes (\d+))"))
            .match(QString::fromLatin1(said));
    ASSERT_TRUE(fetched.hasMatch()) << said.toStdString();
    EXPECT_GT(fetched.captured(2).toLongLong(), 0);
}

TEST(TrayWithoutDisplay, ExitsWithAMessageInsteadOfAborting)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(TOCKWORK_EXE), {});
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 1);
    EXPECT_TRUE(app.readAllStandardError().contains("no display server"));
}

} // namespace
