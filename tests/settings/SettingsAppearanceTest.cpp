// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window and its dialogs in the light or dark of the desktop, as the panel and the
// end-of-day prompt are drawn.
#include "SettingsFixture.h"

#include <QLabel>
#include <QScopeGuard>

namespace {

// The glass's colour in the middle of the window's top strip, and the title's ink.
QColor glassOf(const SettingsWindowController& c)
{
    return c.window()->grab(QRect(8, 4, 1, 1)).toImage().pixelColor(0, 0);
}

QColor titleInk(const SettingsWindowController& c)
{
    for (const QLabel* label : c.window()->findChildren<QLabel*>()) {
        if (label->isVisible() && label->text().contains(QStringLiteral("톡웍 설정")))
            return label->palette().color(QPalette::WindowText);
    }
    return {};
}

} // namespace

TEST_F(SettingsTest, TheWindowAndItsDialogFollowTheDesktopsLightOrDarkLikeThePanel)
{
    // The desktop portal says dark while the palette stays light, as on GNOME with a light
    // theme for old applications.
    GlassWindow::followDesktop(true);
    const auto forget = qScopeGuard([] { GlassWindow::followDesktop(std::nullopt); });
    auto window = openWindow();
    EXPECT_TRUE(window->window()->isDark());
    EXPECT_LT(glassOf(*window).lightness(), 80);
    EXPECT_GT(titleInk(*window).lightness(), 200);
    EXPECT_TRUE(AddWolluWindowController().window()->isDark());

    // The desktop switches to light: the open window lays itself out again in light colours.
    GlassWindow::followDesktop(false);
    ASSERT_TRUE(waitFor([&] { return titleInk(*window).lightness() < 80; }));
    EXPECT_GT(glassOf(*window).lightness(), 200);

    // A window's own pin goes before the desktop.
    window->window()->setAppearance(true);
    ASSERT_TRUE(waitFor([&] { return titleInk(*window).lightness() > 200; }));
    EXPECT_LT(glassOf(*window).lightness(), 80);
    GlassWindow::followDesktop(true);
    GlassWindow::followDesktop(false);
    EXPECT_TRUE(window->window()->isDark());
}
