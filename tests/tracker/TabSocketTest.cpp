// SPDX-License-Identifier: GPL-3.0-or-later
// The local socket between the browser host and the application: where it lives without a
// runtime folder, who may use it, and that idle connections cannot keep the host out.
#include "browser/TabReport.h"
#include "support/WaitFor.h"
#include "tracker/BrowserTabs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// No runtime folder, and a temporary folder of the test's own standing in for /tmp.
class TabSocket : public testing::Test
{
protected:
    void SetUp() override
    {
        runtime_ = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", tmp.path().toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("TMPDIR");
        if (!runtime_.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime_);
    }
    QString folder() const { return tmp.filePath(QStringLiteral("tockwork-%1").arg(::getuid())); }
    static mode_t modeOf(const QString& path)
    {
        struct stat st = {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        return st.st_mode & 0777;
    }

    QTemporaryDir tmp;
    QByteArray runtime_;
};

TEST_F(TabSocket, WithoutARuntimeFolderTheSocketLivesInAPrivateFolderOfOurOwn)
{
    const QString path = TabReports::socketPath();
    EXPECT_EQ(path, folder() + QStringLiteral("/browser.sock"));
    EXPECT_EQ(modeOf(folder()), 0700u);
    BrowserTabs tabs;
    ASSERT_TRUE(tabs.listen());
    EXPECT_EQ(tabs.path(), path);

    // Opened up by someone: closed again. A link put in its place: nothing is served there.
    ASSERT_EQ(::chmod(QFile::encodeName(folder()).constData(), 0777), 0);
    EXPECT_EQ(TabReports::socketPath(), path);
    EXPECT_EQ(modeOf(folder()), 0700u);
    ASSERT_TRUE(QDir(folder()).removeRecursively());
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QFile::link(tmp.filePath(QStringLiteral("elsewhere")), folder()));
    EXPECT_EQ(TabReports::socketPath(), QString());
    BrowserTabs refused;
    EXPECT_FALSE(refused.listen());
}

TEST_F(TabSocket, AFolderOrAConnectionOfAnotherUserIsRefused)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to act as a second local user";
    constexpr uid_t kNobody = 65534;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QFileInfo(folder()).fileName()));
    ASSERT_EQ(::chown(QFile::encodeName(folder()).constData(), kNobody, kNobody), 0);
    EXPECT_EQ(TabReports::socketPath(), QString()) << "another user made the folder first";

    // A socket others can reach (rights loosened by hand): its peers are checked all the same.
    ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 0755), 0);
    const QString open = tmp.filePath(QStringLiteral("open.sock"));
    BrowserTabs tabs;
    ASSERT_TRUE(tabs.listen(open));
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0777), 0);
    const QByteArray report = TabReports::encode({"Evil", 1, "https://stolen.example/"});
    const QByteArray where = QFile::encodeName(open);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, where.constData(), size_t(where.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(3);
        if (::write(fd, report.constData(), size_t(report.size())) != report.size())
            ::_exit(4);
        ::sleep(1);
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    waitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 3000);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the other user could not even connect";
    QCoreApplication::processEvents();
    EXPECT_FALSE(tabs.latest(QStringLiteral("Evil"), 1).has_value());
}

// Connections that send nothing give way, oldest first, so the real host always gets in.
TEST_F(TabSocket, IdleConnectionsGiveWayToTheHost)
{
    BrowserTabs tabs;
    ASSERT_TRUE(tabs.listen());
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < BrowserTabs::kMaxClients; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(tabs.path());
        ASSERT_TRUE(idle.back()->waitForConnected(2000));
    }
    // Let the server take them all in.
    waitFor([] { return false; }, 300);

    QLocalSocket host;
    host.connectToServer(tabs.path());
    ASSERT_TRUE(host.waitForConnected(2000));
    host.write(TabReports::encode({"Chromium", 7, "https://youtube.com/"}));
    host.flush();
    EXPECT_TRUE(waitFor([&] { return tabs.latest("Chromium", 7).has_value(); }));
    EXPECT_TRUE(waitFor([&] { return idle.front()->state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(idle.back()->state(), QLocalSocket::ConnectedState);
    EXPECT_EQ(host.state(), QLocalSocket::ConnectedState);
}

} // namespace
