#include "FontFixture.h"

#include "Appearance.h"
#include "Colors.h"
#include "TextImage.h"

#include <QFontMetricsF>
#include <QRawFont>

#include <cmath>

namespace {

class TextImageTest : public FontFixture
{
protected:
    void SetUp() override
    {
        FontFixture::SetUp();
        if (fontsBuilt())
            useBuiltFonts();
    }
};

// Pixels of `image` whose colour is `colour` (alpha ignored: the pixel font is not antialiased).
int pixelsOf(const QImage& image, const QColor& colour)
{
    int count = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = QColor::fromRgba(argb.pixel(x, y));
            if (c.alpha() > 0 && c.red() == colour.red() && c.green() == colour.green() &&
                c.blue() == colour.blue())
                ++count;
        }
    }
    return count;
}

int inkedPixels(const QImage& image)
{
    int count = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(argb.pixel(x, y)) > 0;
    return count;
}

TEST_F(TextImageTest, PixelFontEmojiBecomeGlyphSegmentsOthersStayText)
{
    SKIP_WITHOUT_BUILT_FONTS();
    const QFont font = mona(12);
    const auto segments = monaLineSegments(QStringLiteral("오늘 ♥ 열일"), font);
    ASSERT_EQ(segments.size(), 3);
    EXPECT_FALSE(segments[0].isGlyph);
    EXPECT_EQ(segments[0].text, QStringLiteral("오늘 "));
    EXPECT_TRUE(segments[1].isGlyph);
    EXPECT_NE(segments[1].glyph, 0u);
    EXPECT_GE(segments[1].width, 14); // never narrower than the size plus two
    EXPECT_EQ(segments[2].text, QStringLiteral(" 열일"));

    // The ant is not in the pixel font: the colour emoji font draws it inside the text run.
    const auto ant = monaLineSegments(QStringLiteral("월루 🐜 중"), font);
    ASSERT_EQ(ant.size(), 1);
    EXPECT_EQ(ant[0].text, QStringLiteral("월루 🐜 중"));

    // Emoji-capable characters below U+2101 (©, digits) are ordinary text.
    const auto plain = monaLineSegments(QStringLiteral("© 2026 #1"), font);
    ASSERT_EQ(plain.size(), 1);
    EXPECT_FALSE(plain[0].isGlyph);
}

TEST_F(TextImageTest, VariationSelectorsAreDropped)
{
    SKIP_WITHOUT_BUILT_FONTS();
    const QFont font = mona(12);
    const QString bare = QStringLiteral("끝 ♥");
    const QString selected = QStringLiteral("끝 ♥\uFE0F\uFE0E");
    EXPECT_EQ(monaLineSegments(selected, font).size(), monaLineSegments(bare, font).size());
    EXPECT_EQ(renderMonaLine(selected, font, Qt::black, 1),
              renderMonaLine(bare, font, Qt::black, 1));
}

TEST_F(TextImageTest, LineImageIsAsWideAsItsSegmentsAndAtLeastOnePointFourLinesHigh)
{
    SKIP_WITHOUT_BUILT_FONTS();
    const QFont font = mona(12);
    const QString text = QStringLiteral("(세전)84,300원 벌었어요 ♥");
    double total = 0;
    for (const LineSegment& s : monaLineSegments(text, font))
        total += s.width;
    const QRawFont raw = QRawFont::fromFont(font);
    const int lineH = int(std::ceil(raw.ascent() + raw.descent()));
    const int height = std::max(lineH, 17);

    const QImage image = renderMonaLine(text, font, Qt::black, 1);
    EXPECT_EQ(image.width(), int(std::ceil(total)));
    EXPECT_EQ(image.height(), height);
    EXPECT_GT(pixelsOf(image, Qt::black), 50);

    const QImage sharp = renderMonaLine(text, font, Qt::black, 2);
    EXPECT_EQ(sharp.size(), image.size() * 2);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(image.size()));

    const QImage empty = renderMonaLine(QString(), font, Qt::black, 1);
    EXPECT_EQ(empty.size(), QSize(1, height));
    EXPECT_EQ(inkedPixels(empty), 0);
}

TEST_F(TextImageTest, WithoutThePixelFontEverythingIsTextAndStillDrawn)
{
    unregisterMonaFont();
    Resources::setBundleDir(home.path() + QStringLiteral("/nowhere"));
    const QFont font = mona(12);
    const auto segments = monaLineSegments(QStringLiteral("오늘 ♥ 열일"), font);
    ASSERT_EQ(segments.size(), 1);
    EXPECT_FALSE(segments[0].isGlyph);
    const QImage image = renderMonaLine(QStringLiteral("오늘 ♥ 열일"), font, Qt::black, 1);
    EXPECT_GE(image.height(), 17);
    EXPECT_GT(inkedPixels(image), 0);
}

TEST_F(TextImageTest, RunawayTextIsCappedNotAllocatedInFull)
{
    const QImage image = renderMonaLine(QString(20000, u'가'), mona(12), Qt::black, 2);
    EXPECT_LE(image.width(), 8192 * 2);
}

TEST_F(TextImageTest, OnlyTheFirstAmountIsColoured)
{
    uiDarkOverride = false;
    const QColor green = moneyGreenColor();
    const AttributedText one =
        coloredAmount(QStringLiteral("오늘 12,345원 벌었어요"), green, mona(12));
    ASSERT_EQ(one.runs.size(), 3);
    EXPECT_EQ(one.runs[1].text, QStringLiteral("12,345원"));
    EXPECT_EQ(one.runs[1].color, green);
    EXPECT_EQ(one.runs[0].color, inkColor());
    EXPECT_EQ(one.runs[2].color, inkColor());
    EXPECT_EQ(one.alignment, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(one.lineHeight, 1.4);

    const AttributedText two = coloredAmount(QStringLiteral("1,000원 중 500원"), green, mona(12));
    ASSERT_EQ(two.runs.size(), 2);
    EXPECT_EQ(two.runs[0].text, QStringLiteral("1,000원"));
    EXPECT_EQ(two.runs[0].color, green);
    EXPECT_EQ(two.runs[1].color, inkColor());

    const AttributedText none = coloredAmount(QStringLiteral("원 단위 없음"), green, mona(12));
    ASSERT_EQ(none.runs.size(), 1);
    EXPECT_EQ(none.runs[0].color, inkColor());

    uiDarkOverride = true;
    EXPECT_EQ(coloredAmount(QStringLiteral("0원"), green, mona(12)).runs[0].color, green);
    EXPECT_EQ(coloredAmount(QStringLiteral("x 0원"), green, mona(12)).runs[0].color.red(), 255);
    uiDarkOverride.reset();
}

TEST_F(TextImageTest, StyledTextImageDrawsEachRunInItsColour)
{
    SKIP_WITHOUT_BUILT_FONTS();
    uiDarkOverride = false;
    const QColor green(0, 160, 0);
    const AttributedText amount = coloredAmount(QStringLiteral("(세전) 84,300원"), green, mona(12));
    const QImage image = renderAttr(amount, 1);
    uiDarkOverride.reset();
    EXPECT_GE(image.height(), 17); // lines 1.4 times the 12-pixel font
    EXPECT_GT(pixelsOf(image, green), 30);
    EXPECT_GT(pixelsOf(image, Qt::black), 30);
    const QImage single = renderMonaLine(QStringLiteral("(세전) 84,300원"), mona(12), Qt::black, 1);
    EXPECT_NEAR(image.width(), single.width(), 2);

    const QImage empty = renderAttr(AttributedText{}, 1);
    EXPECT_EQ(empty.size(), QSize(1, 1));
}

} // namespace
