// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestWindow.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

TestWindow::TestWindow(const QString& windowClass, const QString& instance, const QString& title)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RESOURCE_NAME"), instance);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--window"), windowClass, title});
    QByteArray line;
    while (!line.contains('\n') && process_.waitForReadyRead(10000))
        line += process_.readAll();
    if (line.startsWith("ready "))
        id_ = line.mid(6).trimmed().toULongLong();
}

TestWindow::~TestWindow()
{
    close();
}

void TestWindow::setTitle(const QString& title)
{
    process_.write("title " + title.toUtf8() + '\n');
    process_.waitForBytesWritten(1000);
}

bool TestWindow::activate()
{
    // A window just shown may not be managed yet, and openbox ignores requests for it until it
    // is: ask again until it is the active one.
    return DesktopSession::waitFor([this] {
        DesktopSession::run(QStringLiteral("xdotool"),
                            {QStringLiteral("windowactivate"), QString::number(id_)});
        QProcess active;
        active.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
        active.waitForFinished(5000);
        return active.readAllStandardOutput().trimmed().toULongLong() == id_;
    });
}

bool TestWindow::focus()
{
    return DesktopSession::run(QStringLiteral("xdotool"),
                               {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                QString::number(id_)}) == 0;
}

void TestWindow::close()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000))
        process_.kill();
    process_.waitForFinished(1000);
}
