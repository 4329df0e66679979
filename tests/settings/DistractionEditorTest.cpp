// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFixture.h"

#include "render/Colors.h"
#include "render/MonaFont.h"
#include "slacking/Wollu.h"
#include "ui/settings/AddWolluWindowController.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/toolkit/CenteredTextField.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QIcon solid(const QColor& colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

int darkestLightness(const QImage& image)
{
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, QColor(image.pixel(x, y)).lightness());
    return darkest;
}

// Text typed into a field of the same look.
QImage typedInk()
{
    CenteredTextField field;
    field.resize(224, 32);
    field.setFont(mona(12));
    SettingsStyle::applyPalette(&field);
    field.setText("reddit.com");
    return field.grab().toImage();
}

QStringList menuTitles(const QMenu* menu)
{
    QStringList titles;
    for (const QAction* a : menu->actions())
        titles << (a->isSeparator() ? QStringLiteral("---") : a->text());
    return titles;
}

QAction* menuItem(const QMenu* menu, const QString& title)
{
    for (QAction* a : menu->actions())
        if (a->text() == title)
            return a;
    return nullptr;
}

TEST_F(SettingsTest, TheMenuOffersRunningAppsNotYetListedAndAddsThem)
{
    seed("wolluApps", "slack,유튜브");
    running_ = {{"Discord", solid(Qt::red)},   {"Slack", solid(Qt::green)},
                {"Terminal", solid(Qt::blue)}, {"Terminal", solid(Qt::blue)},
                {"", solid(Qt::black)},        {"  ", solid(Qt::black)}};
    auto window = openWindow();
    window->addTapped();
    ASSERT_TRUE(control<QMenu>(*window, "runningApps"));
    EXPECT_EQ(menuTitles(control<QMenu>(*window, "runningApps")),
              QStringList({"Discord", "Terminal", "---", "직접 입력…"}));
    EXPECT_EQ(menuItem(control<QMenu>(*window, "runningApps"), "Discord")
                  ->icon()
                  .pixmap(16, 16)
                  .toImage()
                  .pixel(8, 8),
              qRgb(255, 0, 0));

    menuItem(control<QMenu>(*window, "runningApps"), "Discord")->trigger();
    EXPECT_EQ(window->apps(), QStringList({"slack", "유튜브", "Discord"}));
    // A stale menu item of an app listed meanwhile adds nothing more.
    window->addFromMenu(menuItem(control<QMenu>(*window, "runningApps"), "Discord"));
    window->addTapped();
    menuItem(control<QMenu>(*window, "runningApps"), "Terminal")->trigger();
    EXPECT_EQ(window->apps().size(), 4);

    window->addTapped();
    EXPECT_EQ(menuTitles(control<QMenu>(*window, "runningApps")),
              QStringList({"실행 중인 앱 없음", "---", "직접 입력…"}));
    EXPECT_FALSE(control<QMenu>(*window, "runningApps")->actions().first()->isEnabled());

    EXPECT_EQ(eventNames(), QStringList({"Distraction Added", "Distraction Added"}));
    // Nothing reaches the store before "저장".
    EXPECT_EQ(Wollu::appsRaw(), "slack,유튜브");
}

TEST_F(SettingsTest, TypedEntriesAreNormalisedSplitAtCommasAndDeduplicated)
{
    seed("wolluApps", "유튜브");
    auto window = openWindow();
    const auto type = [&](const QString& text) {
        AddWolluWindowController::answerNextRun(text);
        window->addManual();
    };
    type("  https://www.Reddit.com/r/korea?x=1  ");
    type("   ");                                           // blank: nothing, silently
    type("REDDIT.com");                                    // already listed
    AddWolluWindowController::answerNextRun(std::nullopt); // cancelled
    window->addManual();
    type("치지직, blog.example.kr，유튜브");
    EXPECT_EQ(window->apps(), QStringList({"유튜브", "reddit.com", "치지직", "blog.example.kr"}));
    EXPECT_EQ(eventNames(), QStringList({"Distraction Added", "Distraction Add Cancelled",
                                         "Distraction Added", "Distraction Added"}));

    // Saved and opened again, the list reads back entry for entry.
    window->saveTapped();
    EXPECT_EQ(SettingsWindowController().apps(), window->apps());
}

TEST_F(SettingsTest, MutedTextIsEvenlyMutedInEveryScript)
{
    // Some glyphs (the pixel font's Hangul among them) are drawn at full strength whatever the
    // pen's alpha: a muted colour with alpha would leave "예:" dark beside a faint "300".
    QWidget surface;
    surface.resize(200, 30);
    QLabel* label = SettingsStyle::label(&surface, "예: 유튜브 300", mona(12), mutedInk(),
                                         Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(0, 0, 200, 30);
    SettingsStyle::applyPalette(&surface);
    surface.setAutoFillBackground(true);
    EXPECT_GT(darkestLightness(label->grab().toImage()), darkestLightness(typedInk()) + 60);
}

TEST_F(SettingsTest, TheDialogTakesTypingAndReturnAndCancelsOnEscape)
{
    auto window = openWindow();
    QTimer::singleShot(0, [] {
        AddWolluWindowController* dialog = AddWolluWindowController::running();
        ASSERT_TRUE(dialog);
        auto* entry = dialog->window()->findChild<CenteredTextField*>("entry");
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->placeholderText(), "예: 유튜브, reddit.com");
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog->window()));
        // With the keyboard in the empty field the example still shows, as a hint: never in the
        // ink of typed text.
        auto* hint = entry->findChild<QLabel*>("placeholderOverlay");
        ASSERT_TRUE(hint && hint->isVisible());
        EXPECT_GT(darkestLightness(hint->grab().toImage()), darkestLightness(typedInk()) + 60);
        QTest::keyClicks(entry, "twitch.tv");
        QTest::keyClick(entry, Qt::Key_Return);
    });
    window->addManual();
    QTimer::singleShot(0, [] {
        AddWolluWindowController* dialog = AddWolluWindowController::running();
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog->window()));
        auto* entry = dialog->window()->findChild<CenteredTextField*>("entry");
        ASSERT_TRUE(entry);
        QTest::keyClicks(entry, "netflix");
        QTest::keyClick(entry, Qt::Key_Escape);
    });
    window->addManual();
    EXPECT_FALSE(AddWolluWindowController::running());
    EXPECT_TRUE(window->apps().endsWith("twitch.tv"));
    EXPECT_FALSE(window->apps().contains("netflix"));
    EXPECT_EQ(eventNames().last(), "Distraction Add Cancelled");
}

TEST_F(SettingsTest, TogglingAndDeletingResizeTheWindowByTheRows)
{
    seed("wolluApps", "유튜브,slack");
    auto window = openWindow();
    const int collapsed = heightOf(*window);
    window->toggleExpand();
    const int twoRows = heightOf(*window);
    EXPECT_EQ(twoRows, collapsed + 2 + 2 * SettingsWindowController::kRowHeight);

    QPushButton* remove = nullptr;
    for (auto* b : window->window()->findChildren<QPushButton*>())
        if (b->property("entry") == "slack" && b->isVisible())
            remove = b;
    ASSERT_TRUE(remove);
    remove->click();
    EXPECT_EQ(heightOf(*window), twoRows - SettingsWindowController::kRowHeight);
    window->deleteApp("유튜브");
    // The empty-list hint takes the last row's place, 4 points shorter.
    EXPECT_EQ(heightOf(*window), twoRows - SettingsWindowController::kRowHeight - 4);
    window->toggleExpand();
    EXPECT_EQ(heightOf(*window), collapsed);

    EXPECT_EQ(eventNames(), QStringList({"Distraction List Toggled", "Distraction Removed",
                                         "Distraction Removed", "Distraction List Toggled"}));
}

TEST_F(SettingsTest, ALongListScrollsInsteadOfLeavingTheScreen)
{
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("app%1").arg(i);
    seed("wolluApps", many.join(u','));
    auto window = openWindow();
    window->toggleExpand();
    const QRect screen = window->window()->screen()->availableGeometry();
    EXPECT_LE(heightOf(*window), screen.height());
    EXPECT_GE(window->window()->y(), screen.top());
}

} // namespace
