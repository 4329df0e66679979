#pragma once

#include "GifWriter.h"
#include "Resources.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace RenderTest {

// A private bundle folder and home folder per test, so art lookups never see the build's or the
// user's real art.
class ArtFolders : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", home().toLocal8Bit());
        QDir().mkpath(bundleArt());
        QDir().mkpath(homeArt());
        Resources::setBundleDir(temp.path() + QStringLiteral("/bundle"));
    }
    void TearDown() override
    {
        Resources::setBundleDir({});
        qputenv("HOME", savedHome);
    }

    QString home() const { return temp.path() + QStringLiteral("/home"); }
    QString bundleArt() const { return temp.path() + QStringLiteral("/bundle/art"); }
    QString homeArt() const { return home() + QStringLiteral("/TockWork/art"); }

    QTemporaryDir temp;
    QByteArray savedHome;
};

inline GifWriter::Frame solidFrame(int width, int height, QRgb colour, int delayMs)
{
    return {delayMs, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, colour)};
}

inline void writeGif(const QString& path, int width, int height,
                     const std::vector<GifWriter::Frame>& frames)
{
    std::string error;
    ASSERT_TRUE(GifWriter::write(path.toStdString(), width, height, frames, &error)) << error;
}

inline void writePng(const QString& path, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(path, "PNG"));
}

// Bounding box of the pixels whose alpha exceeds `minAlpha`.
inline QRect opaqueBounds(const QImage& image, int minAlpha = 0)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > minAlpha)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace RenderTest
