// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopSession.h"

#include "platform/LoginItem.h"
#include "platform/SingleInstance.h"

#include <QGuiApplication>
#include <QRasterWindow>
#include <QSocketNotifier>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

// One binary plays every part a test needs besides itself: an application window with chosen
// WM_CLASS and title, a second start of TockWork, and TockWork installed in another folder.
namespace {

void say(const QByteArray& line)
{
    std::fputs(QByteArray(line + '\n').constData(), stdout);
    std::fflush(stdout);
}

// Calls `onLine` for each line on standard input and quits at its end.
void followInput(QObject* context, std::function<void(const QByteArray&)> onLine)
{
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, onLine] {
        static QByteArray pending;
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            notifier->setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            onLine(pending.left(end));
    });
}

class ShownWindow final : public QRasterWindow
{
protected:
    void exposeEvent(QExposeEvent* event) override
    {
        QRasterWindow::exposeEvent(event);
        if (isExposed() && !announced_) {
            announced_ = true;
            say("ready " + QByteArray::number(qulonglong(winId())));
        }
    }

private:
    bool announced_ = false;
};

// --window CLASS TITLE (the instance comes from RESOURCE_NAME); "title TEXT" on standard input
// renames it.
int windowMain(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(argv[2]));
    ShownWindow window;
    window.setTitle(QString::fromUtf8(argv[3]));
    window.resize(320, 200);
    window.show();
    // A window manager still starting up can drop a map request: map again until shown.
    QTimer remap;
    QObject::connect(&remap, &QTimer::timeout, &window, [&] {
        if (window.isExposed())
            return remap.stop();
        window.hide();
        window.show();
    });
    remap.start(500);
    followInput(&window, [&window](const QByteArray& line) {
        if (line.startsWith("title "))
            window.setTitle(QString::fromUtf8(line.mid(6)));
    });
    return app.exec();
}

// --instance: claims; the first prints "claimed" and holds the claim until its input ends,
// printing "activated" for each hand-over; a later one prints "running" or "running unreachable".
int instanceMain(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SingleInstance instance;
    if (!instance.claim()) {
        say(instance.activateRunningInstance() ? "running" : "running unreachable");
        return 0;
    }
    say("claimed");
    QObject::connect(&instance, &SingleInstance::activationRequested, [] { say("activated"); });
    followInput(&instance, [](const QByteArray&) {});
    return app.exec();
}

// --login-item register|status: this binary's start at login, for a copy of it in another folder.
int loginItemMain(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (std::strcmp(argv[2], "register") == 0) {
        QString error;
        say(LoginItem::registerItem(&error) ? "ok" : error.toUtf8());
    } else {
        say(LoginItem::status() == LoginItem::Status::enabled ? "enabled" : "not enabled");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--window") == 0)
        return windowMain(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--instance") == 0)
        return instanceMain(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--login-item") == 0)
        return loginItemMain(argc, argv);

    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (!DesktopSession::start())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        status = RUN_ALL_TESTS();
    }
    DesktopSession::stop();
    return status;
}
