#pragma once

#include "MonaFont.h"
#include "Resources.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A temporary home folder and application bundle, so font registration sees only what a test puts
// there. The font files themselves come from the build (fetched from npm); without them the tests
// that need real glyphs are skipped.
class FontFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid() && bundle.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        Resources::setBundleDir(bundle.path());
        unregisterMonaFont();
    }

    void TearDown() override
    {
        unregisterMonaFont();
        Resources::setBundleDir(QString());
        qputenv("HOME", savedHome);
    }

    static QString builtFont(const QString& name)
    {
        return QStringLiteral(TOCKWORK_BUILT_SHARE_DIR "/fonts/") + name;
    }

    static bool fontsBuilt()
    {
        return QFile::exists(builtFont(QStringLiteral("Mona12.ttf"))) &&
               QFile::exists(builtFont(QStringLiteral("Mona12-Bold.ttf")));
    }

    // Copies the built face `name` to `folder` (relative to home, or the bundle when empty).
    QString place(const QString& name, const QString& homeFolder = {})
    {
        const QString dir = homeFolder.isEmpty() ? QString(bundle.path() + QStringLiteral("/fonts"))
                                                 : QString(home.path() + u'/' + homeFolder);
        QDir().mkpath(dir);
        const QString target = dir + u'/' + name;
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(builtFont(name), target)) << target.toStdString();
        return target;
    }

    // Registers the built faces as the application would find them in its bundle.
    void useBuiltFonts()
    {
        place(QStringLiteral("Mona12.ttf"));
        place(QStringLiteral("Mona12-Bold.ttf"));
        registerMonaFont();
    }

    QTemporaryDir home;
    QTemporaryDir bundle;
    QByteArray savedHome;
};

#define SKIP_WITHOUT_BUILT_FONTS()                                                                 \
    if (!fontsBuilt())                                                                             \
    GTEST_SKIP() << "pixel font not fetched (offline build); build tockwork_fonts"
