// SPDX-License-Identifier: GPL-3.0-or-later
// The files the build writes for the program to read at run time: another user who starts the
// built program reads them too.

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

int modeOf(const QString& path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
}

TEST(BuiltFiles, ArtAndFontsAreReadableByEveryone)
{
    int files = 0;
    for (const char* folder : {"/art", "/fonts"}) {
        // Hidden files are the build's own stamps, read by nobody else.
        QDirIterator it(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR) + QLatin1String(folder),
                        QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            ++files;
            EXPECT_EQ(modeOf(path), 0644) << path.toStdString();
        }
    }
    EXPECT_GT(files, 10) << "the art was not built";
}

// Whatever the builder's umask: giflib itself creates its files 0600.
TEST(BuiltFiles, TheArtCompilerWritesFilesEveryoneCanRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& [source, output] :
         {std::pair{"home_16.art", "home_16.gif"}, std::pair{"bar_empty.art", "bar_empty.png"}}) {
        const QString out = dir.filePath(QString::fromLatin1(output));
        const int status = QProcess::execute(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("umask 077 && exec \"$0\" \"$1\" \"$2\""),
             QStringLiteral(TOCKWORK_ARTC),
             QStringLiteral(TOCKWORK_ART_SOURCE_DIR "/") + QString::fromLatin1(source), out});
        ASSERT_EQ(status, 0) << source;
        EXPECT_EQ(modeOf(out), 0644) << output;
    }
}

} // namespace
