#include "MenuBarImage.h"
#include "Art.h"
#include "RenderTestSupport.h"

#include <cmath>

using namespace RenderTest;

namespace {

class MenuBarImage : public ArtFolders
{
protected:
    void TearDown() override
    {
        menubarAntFrame.reset();
        menubarFrameMascot.clear();
        ArtFolders::TearDown();
    }

    static Display showing(const QString& mascot)
    {
        Display display;
        display.mascot = mascot;
        return display;
    }

    static QImage solid(QRgb colour)
    {
        QImage image(27, 22, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    }

    // colour of the middle of the tray image
    static QRgb centre(const QImage& image)
    {
        return image.convertToFormat(QImage::Format_ARGB32)
            .pixel(image.width() / 2, image.height() / 2);
    }
};

TEST_F(MenuBarImage, SizeFollowsTheDevicePixelRatio)
{
    for (qreal dpr : {1.0, 2.0, 1.5}) {
        const QImage image = renderMenuBar(showing("ant_work"), dpr);
        EXPECT_EQ(image.devicePixelRatio(), dpr);
        EXPECT_EQ(image.size(), QSize(std::ceil(27 * dpr), std::ceil(22 * dpr)));
        // no art anywhere: a transparent image, not an error
        EXPECT_TRUE(opaqueBounds(image).isNull());
    }
    EXPECT_EQ(renderMenuBar(showing("home"), 0).size(), QSize(27, 22));
}

TEST_F(MenuBarImage, CurrentFrameOnlyForItsOwnMascot)
{
    writePng(bundleArt() + "/ant_work.png", {27, 22}, Qt::blue);
    writePng(bundleArt() + "/ant_lunch.png", {27, 22}, Qt::yellow);
    menubarAntFrame = solid(0xFFFF0000);
    menubarFrameMascot = "ant_work";

    EXPECT_EQ(centre(renderMenuBar(showing("ant_work"))), 0xFFFF0000u);
    // the mascot changed before the next animation step: the picture file is drawn
    EXPECT_EQ(centre(renderMenuBar(showing("ant_lunch"))), QColor(Qt::yellow).rgba());

    menubarAntFrame.reset();
    EXPECT_EQ(centre(renderMenuBar(showing("ant_work"))), QColor(Qt::blue).rgba());
}

TEST_F(MenuBarImage, PictureIsReadAnewEachTime)
{
    writePng(homeArt() + "/home.png", {27, 22}, Qt::blue);
    EXPECT_EQ(centre(renderMenuBar(showing("home"))), QColor(Qt::blue).rgba());
    writePng(homeArt() + "/home.png", {27, 22}, Qt::green);
    EXPECT_EQ(centre(renderMenuBar(showing("home"), 2)), QColor(Qt::green).rgba());
}

} // namespace
