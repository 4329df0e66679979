// SPDX-License-Identifier: GPL-3.0-or-later
// What each event of the application and its settings window carries: one row per event, the
// action that sends it on the real application (or the real settings window) and the exact
// properties it adds to the ones every event shares.
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "platform/InstalledApps.h"
#include "slacking/Wollu.h"
#include "ui/eod/EndOfDayPrompt.h"
#include "ui/eod/EodWindow.h"
#include "ui/eod/EodWindowController.h"
#include "ui/settings/AddWolluWindowController.h"
#include "ui/settings/AppMeta.h"
#include "ui/settings/FaviconLoader.h"
#include "ui/settings/SettingsWindows.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/tray/TrayIcon.h"

#include <QAction>
#include <QDateEdit>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSslCertificate>

#include "DelegateFixture.h"
#include "PanelParts.h"
#include "settings/SettingsControls.h"

namespace {

class AnalyticsEvents;
struct EventRow
{
    const char* name; // the case's name
    const char* event;
    std::function<void(AnalyticsEvents&)> action; // the event looked at is the last one it sends
    const char* expected; // a JSON object: the event's own keys and values, exactly
};

void PrintTo(const EventRow& row, std::ostream* out)
{
    *out << row.name;
}

class AnalyticsEvents : public Delegate, public testing::WithParamInterface<EventRow>
{
public:
    void SetUp() override
    {
        Delegate::SetUp();
        // No installed applications, a chosen list of running ones, no favicon from the network.
        setApplicationDirs({sandbox.filePath(QStringLiteral("no-apps"))});
        setRunningAppsSource([this] { return running; });
        FaviconTesting::reset();
        FaviconTesting::useServer(1, QSslCertificate());
    }
    void TearDown() override
    {
        settings.reset();
        windows.reset();
        setRunningAppsSource({});
        setApplicationDirs({});
        FaviconTesting::reset();
        Delegate::TearDown();
    }

    void at(QTime time) { clock.at(today, time); }
    static void seed(const QString& key, const QVariant& value)
    {
        Store::standard().set(key, value);
        Store::standard().flush();
    }
    void openPanel() { Q_EMIT delegate->tray()->activated(QRect(600, 0, 24, 24)); }
    // Shows the menu as the tray host does and picks the item of that title.
    void pick(const QString& title)
    {
        QMenu* menu = delegate->statusMenu();
        Q_EMIT menu->aboutToShow();
        for (QAction* action : menu->actions())
            if (action->text() == title)
                return action->trigger();
        ADD_FAILURE() << "no menu item " << title.toStdString();
    }
    // 19:00 after choosing overtime, the panel open: its dinner and leave buttons show.
    PanelVC& overtimePanel()
    {
        at(QTime(19, 0));
        Eod::choose(QStringLiteral("overtime"));
        launch();
        openPanel();
        return *delegate->panelVC();
    }
    void pressInPrompt(Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(delegate->eodPrompt()->controller()->window(), &press);
    }

    SettingsWindowController& openSettings()
    {
        settings = std::make_unique<SettingsWindowController>();
        settings->showCentered();
        return *settings;
    }
    void setTimes(QTime workStart, QTime workEnd, QTime lunchStart, QTime lunchEnd)
    {
        const QTime times[] = {workStart, workEnd, lunchStart, lunchEnd};
        for (int i = 0; i < 4; ++i)
            picker(*settings, i)->setTime(times[i]);
    }
    void typeSalary(const char* text)
    {
        control<EditableTextField>(*settings, "salary")->setText(QString::fromUtf8(text));
    }
    void typeDistraction(const char* text)
    {
        AddWolluWindowController::answerNextRun(QString::fromUtf8(text));
        settings->addManual();
    }
    void pickRunningApp(const QString& name)
    {
        settings->addTapped();
        QMenu* menu = control<QMenu>(*settings, "runningApps");
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == name)
                return action->trigger();
        ADD_FAILURE() << "no running app " << name.toStdString();
    }

    std::unique_ptr<SettingsWindowController> settings;
    std::unique_ptr<SettingsWindows> windows;
    QList<RunningApp> running;
};

QIcon solid(const QColor& colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

const QTime h9(9, 0), h12(12, 0), h13(13, 0), h18(18, 0);

// Wednesday 10:00 with the default day (09:00-18:00, lunch 12:00-13:00) and 3,000,000 won a month,
// unless a row says otherwise.
const EventRow rows[] = {
    // --- the tray icon, the panel and the menu
    {"PanelOpenedByTheIcon", "Panel Opened",
     [](AnalyticsEvents& t) {
         t.launch();
         t.openPanel();
     },
     R"({"trigger": "menubar_click", "state": "working", "worked_min": 60, "progress_pct": 13,
         "wollu_min": 0, "pinned": false})"},
    {"PanelClosedByTheIcon", "Panel Closed",
     [](AnalyticsEvents& t) {
         t.launch();
         t.openPanel();
         t.at(QTime(10, 0, 42));
         t.openPanel();
     },
     R"({"dwell_seconds": 42, "state": "working"})"},
    {"PanelPinned", "Panel Pin Toggled", [](AnalyticsEvents& t) { t.launch().togglePin(); },
     R"({"pinned": true})"},
    {"PanelUnpinned", "Panel Pin Toggled",
     [](AnalyticsEvents& t) {
         t.launch().togglePin();
         t.delegate->togglePin();
     },
     R"({"pinned": false})"},
    {"PanelOpenedByPinning", "Panel Opened", [](AnalyticsEvents& t) { t.launch().togglePin(); },
     R"({"trigger": "pin", "state": "working", "worked_min": 60, "progress_pct": 13,
         "wollu_min": 0, "pinned": true})"},
    {"PanelOpenedFromTheMenu", "Panel Opened",
     [](AnalyticsEvents& t) {
         Wollu::add(47 * 60);
         t.launch();
         t.pick(QStringLiteral("오늘 자세히 보기"));
     },
     R"({"trigger": "menu", "state": "working", "worked_min": 60, "progress_pct": 13,
         "wollu_min": 47, "pinned": false})"},
    {"MenuOpened", "Menu Opened",
     [](AnalyticsEvents& t) { Q_EMIT t.launch().statusMenu()->aboutToShow(); },
     R"({"state": "working"})"},
    {"ManualRefresh", "Manual Refresh",
     [](AnalyticsEvents& t) {
         t.launch();
         t.pick(QStringLiteral("새로고침"));
     },
     "{}"},
    {"WolluVisibilityToggled", "Wollu Visibility Toggled",
     [](AnalyticsEvents& t) {
         Wollu::add(90);
         t.launch();
         t.openPanel();
         part<ChipButton>(*t.delegate->panelVC(), "slackingEye")->click();
     },
     R"({"hidden": true, "wollu_min": 2})"},
    {"SettingsOpenedFromThePanel", "Settings Opened",
     [](AnalyticsEvents& t) {
         t.launch();
         t.openPanel();
         chipButtons(*t.delegate->panelVC())[0]->click();
     },
     R"({"entry_point": "panel_button", "has_salary": true})"},

    // --- breaks and the day
    {"BreakTaken", "Pause Changed",
     [](AnalyticsEvents& t) {
         t.launch();
         t.pick(QStringLiteral("잠깐 쉴게요"));
     },
     R"({"state": "rest", "paused_min": 0})"},
    {"BackToWork", "Pause Changed",
     [](AnalyticsEvents& t) {
         t.launch();
         t.pick(QStringLiteral("잠깐 쉴게요"));
         t.at(QTime(10, 30));
         t.pick(QStringLiteral("다시 일하기"));
     },
     R"({"state": "work", "paused_min": 30})"},
    {"WorkStatusChanged", "Work Status Changed",
     [](AnalyticsEvents& t) {
         t.launch().update();
         t.at(QTime(12, 30));
         t.delegate->update();
     },
     R"({"from_state": "working", "to_state": "lunch", "minute_of_day": 750, "worked_min": 180,
         "overtime_min": 0, "wollu_min": 0, "progress_pct": 38})"},

    // --- quitting and the start at login
    {"AppQuitCancelled", "App Quit Cancelled",
     [](AnalyticsEvents& t) {
         setNextQuitAnswer(false);
         t.launch().quit();
     },
     "{}"},
    {"AppQuit", "App Quit",
     [](AnalyticsEvents& t) {
         t.launch().setLaunchedAt(Clock::now());
         t.at(QTime(11, 35, 59));
         setNextQuitAnswer(true);
         t.delegate->quit();
     },
     R"({"session_minutes": 95, "state": "working", "worked_min": 156})"},
    {"LoginItemRegistered", "Login Item Registered", [](AnalyticsEvents& t) { t.launch(); },
     R"({"success": true})"},

    // --- the end of the day
    {"EodPromptShownByItself", "EOD Prompt Shown",
     [](AnalyticsEvents& t) {
         t.at(QTime(18, 12, 54));
         t.launch();
     },
     R"({"source": "auto_prompt", "worked_min": 480, "overtime_min": 13, "wollu_min": 0})"},
    {"EodLeftAtThePrompt", "EOD Choice Made",
     [](AnalyticsEvents& t) {
         t.at(QTime(18, 12, 54));
         t.launch();
         t.pressInPrompt(Qt::Key_Return);
     },
     R"({"choice": "left", "source": "auto_prompt", "worked_min": 480, "overtime_min": 13,
         "wollu_min": 0, "minutes_past_work_end": 12})"},
    {"EodPromptShownFromTheMenu", "EOD Prompt Shown",
     [](AnalyticsEvents& t) {
         t.at(QTime(18, 12, 54));
         t.launch();
         t.pressInPrompt(Qt::Key_Return);
         t.delegate->reChooseEod();
     },
     R"({"source": "menu_rechoose", "worked_min": 480, "overtime_min": 13, "wollu_min": 0})"},
    {"EodOvertimeByClosingTheAskedAgainPrompt", "EOD Choice Made",
     [](AnalyticsEvents& t) {
         t.at(QTime(18, 12, 54));
         t.launch();
         t.pressInPrompt(Qt::Key_Return);
         t.delegate->reChooseEod();
         t.delegate->eodPrompt()->controller()->window()->close();
     },
     R"({"choice": "overtime", "source": "menu_rechoose", "worked_min": 480, "overtime_min": 13,
         "wollu_min": 0, "minutes_past_work_end": 12})"},
    {"DinnerStarted", "Dinner Started",
     [](AnalyticsEvents& t) { part<ChipButton>(t.overtimePanel(), "dinner")->click(); },
     R"({"overtime_min": 60})"},
    {"DinnerEnded", "Dinner Ended",
     [](AnalyticsEvents& t) {
         PanelVC& panel = t.overtimePanel();
         part<ChipButton>(panel, "dinner")->click();
         t.at(QTime(19, 40));
         part<ChipButton>(panel, "dinner")->click();
     },
     R"({"dinner_min": 40})"},
    // 100 minutes past six, 40 of them dinner.
    {"LeftByThePanelButton", "EOD Choice Made",
     [](AnalyticsEvents& t) {
         PanelVC& panel = t.overtimePanel();
         part<ChipButton>(panel, "dinner")->click();
         t.at(QTime(19, 40));
         part<ChipButton>(panel, "dinner")->click();
         part<ChipButton>(panel, "leave")->click();
     },
     R"({"choice": "left", "source": "panel_leave_button", "worked_min": 480, "overtime_min": 60,
         "wollu_min": 0, "minutes_past_work_end": 100})"},

    // --- the settings window
    {"SettingsOpenedBesideThePanelWithoutASalary", "Settings Opened",
     [](AnalyticsEvents& t) {
         t.seed(SettingsKeys::monthlySalaryWon.key, 0);
         t.windows = std::make_unique<SettingsWindows>();
         t.windows->openSettingsBeside(QRect(900, 40, 300, 400));
     },
     R"({"entry_point": "panel_button", "has_salary": false})"},
    {"SettingsOpenedFromTheMenu", "Settings Opened",
     [](AnalyticsEvents& t) {
         t.windows = std::make_unique<SettingsWindows>();
         t.windows->openSettings();
     },
     R"({"entry_point": "menu", "has_salary": true})"},
    {"SettingsCancelled", "Settings Cancelled",
     [](AnalyticsEvents& t) { t.openSettings().cancelTapped(); }, R"({"had_warning": false})"},
    {"SettingsCancelledOverAWarning", "Settings Cancelled",
     [](AnalyticsEvents& t) {
         t.openSettings();
         t.setTimes(h18, h9, h12, h13);
         t.settings->saveTapped();
         t.settings->cancelTapped();
     },
     R"({"had_warning": true})"},
    {"SavedUnchanged", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         t.openSettings().saveTapped();
     },
     R"({"changed_fields": [], "changed_count": 0, "is_first_salary_setup": false,
         "distraction_count": 1, "distraction_targets": ["youtube"]})"},
    // Every reported field, in its order; the 세전 tag alone is not one.
    {"SavedEveryFieldChanged", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(SettingsKeys::monthlySalaryWon.key, 0);
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         SettingsWindowController& window = t.openSettings();
         t.setTimes(QTime(8, 0), QTime(17, 0), QTime(11, 30), QTime(12, 30));
         t.typeSalary("250");
         control<QComboBox>(window, "salaryType")->setCurrentIndex(1);
         control<QCheckBox>(window, "pretaxTag")->setChecked(false);
         control<QCheckBox>(window, "skipDaysOff")->setChecked(false);
         control<QCheckBox>(window, "slackingOff")->setChecked(true);
         t.typeDistraction("reddit.com");
         DaysOffEditor* days = control<DaysOffEditor>(window, "daysOff");
         days->openForm();
         days->findChild<QDateEdit*>("dayOffDate")->setDate(QDate(2025, 3, 20));
         ASSERT_TRUE(days->addFromForm());
         window.saveTapped();
     },
     R"({"changed_fields": ["work_hours", "lunch", "salary", "pretax", "exclude_weekend",
                            "wollu_tracking", "distractions", "days_off"],
         "changed_count": 8, "is_first_salary_setup": true, "distraction_count": 2,
         "distraction_targets": ["youtube", "custom"]})"},
    {"SavedTheFirstSalary", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(SettingsKeys::monthlySalaryWon.key, 0);
         t.openSettings();
         t.typeSalary("３５０");
         t.settings->saveTapped();
     },
     // A new user's list, as it comes.
     R"({"changed_fields": ["salary"], "changed_count": 1, "is_first_salary_setup": true,
         "distraction_count": 6, "distraction_targets": ["kakaotalk", "youtube", "instagram",
                                                          "netflix", "discord", "twitch"]})"},
    // A salary shown rounded to 만원 is no change until the field is edited.
    {"SavedARoundedSalaryUnedited", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(SettingsKeys::monthlySalaryWon.key, 3'005'000);
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         t.openSettings().saveTapped();
     },
     R"({"changed_fields": [], "changed_count": 0, "is_first_salary_setup": false,
         "distraction_count": 1, "distraction_targets": ["youtube"]})"},
    {"SavedAChangedSalary", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(SettingsKeys::monthlySalaryWon.key, 3'005'000);
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         t.openSettings();
         t.typeSalary("301");
         t.settings->saveTapped();
     },
     R"({"changed_fields": ["salary"], "changed_count": 1, "is_first_salary_setup": false,
         "distraction_count": 1, "distraction_targets": ["youtube"]})"},
    {"SavedADayOff", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         DaysOffEditor* days = control<DaysOffEditor>(t.openSettings(), "daysOff");
         days->openForm();
         days->findChild<QDateEdit*>("dayOffDate")->setDate(QDate(2025, 4, 3));
         ASSERT_TRUE(days->addFromForm());
         t.settings->saveTapped();
     },
     R"({"changed_fields": ["days_off"], "changed_count": 1, "is_first_salary_setup": false,
         "distraction_count": 1, "distraction_targets": ["youtube"]})"},
    // Tracking that was off already is no change, though the save clears the day's slacking.
    {"SavedWithTrackingLeftOff", "Settings Saved",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluDisabled"), true);
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         Wollu::add(120);
         t.openSettings().saveTapped();
     },
     R"({"changed_fields": [], "changed_count": 0, "is_first_salary_setup": false,
         "distraction_count": 1, "distraction_targets": ["youtube"]})"},
    {"SavedWithAnalyticsKept", "Analytics Opt Out Changed",
     [](AnalyticsEvents& t) { t.openSettings().saveTapped(); }, R"({"opted_out": false})"},
    {"SavedWithAnalyticsOptedOut", "Analytics Opt Out Changed",
     [](AnalyticsEvents& t) {
         control<QCheckBox>(t.openSettings(), "analytics")->setChecked(false);
         t.settings->saveTapped();
     },
     R"({"opted_out": true})"},
    {"SlackingTrackingSwitchedOff", "Wollu Tracking Toggled",
     [](AnalyticsEvents& t) {
         control<QCheckBox>(t.openSettings(), "slackingOff")->setChecked(true);
         t.settings->saveTapped();
     },
     R"({"disabled": true})"},

    // --- refused saves, one row per reason
    {"RejectedWorkEndBeforeStart", "Settings Save Rejected",
     [](AnalyticsEvents& t) {
         t.openSettings();
         t.setTimes(QTime(22, 0), QTime(6, 0), QTime(1, 0), QTime(2, 0));
         t.settings->saveTapped();
     },
     R"({"reason": "퇴근 시간이 출근보다 빨라요"})"},
    {"RejectedLunchEndBeforeStart", "Settings Save Rejected",
     [](AnalyticsEvents& t) {
         t.openSettings();
         t.setTimes(h9, h18, h13, h12);
         t.settings->saveTapped();
     },
     R"({"reason": "점심 끝이 시작보다 빨라요"})"},
    {"RejectedLunchOutsideWork", "Settings Save Rejected",
     [](AnalyticsEvents& t) {
         t.openSettings();
         t.setTimes(h9, h18, QTime(17, 30), QTime(18, 30));
         t.settings->saveTapped();
     },
     R"({"reason": "점심시간이 근무시간을 벗어났어요"})"},
    {"RejectedSalaryTooLarge", "Settings Save Rejected",
     [](AnalyticsEvents& t) {
         t.openSettings();
         t.typeSalary("1000001");
         t.settings->saveTapped();
     },
     R"json({"reason": "월급이 너무 커요 (100억 원까지)"})json"},
    {"RejectedSalaryNotANumber", "Settings Save Rejected",
     [](AnalyticsEvents& t) {
         t.openSettings();
         t.typeSalary("삼백");
         t.settings->saveTapped();
     },
     R"({"reason": "월급은 숫자로 적어 주세요"})"},

    // --- the distraction list
    {"DistractionListOpened", "Distraction List Toggled",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브,slack"));
         t.openSettings().toggleExpand();
     },
     R"({"expanded": true, "distraction_count": 2})"},
    {"DistractionListClosed", "Distraction List Toggled",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브,slack"));
         t.openSettings().toggleExpand();
         t.settings->deleteApp(QStringLiteral("slack"));
         t.settings->toggleExpand();
     },
     R"({"expanded": false, "distraction_count": 1})"},
    {"DistractionRemovedByItsButton", "Distraction Removed",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브,slack"));
         t.openSettings().toggleExpand();
         for (auto* button : t.settings->window()->findChildren<QPushButton*>())
             if (button->property("entry") == "slack" && button->isVisible())
                 return button->click();
         ADD_FAILURE() << "no delete button for slack";
     },
     R"({"target": "slack", "remaining_count": 1})"},
    {"DistractionRemovedLast", "Distraction Removed",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         t.openSettings().deleteApp(QStringLiteral("유튜브"));
     },
     R"({"target": "youtube", "remaining_count": 0})"},
    {"KnownAppAddedFromTheMenu", "Distraction Added",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("slack,유튜브"));
         t.running = {{"Discord", solid(Qt::red)}};
         t.openSettings();
         t.pickRunningApp(QStringLiteral("Discord"));
     },
     R"({"target": "discord", "is_known_service": true, "kind": "앱, 사이트",
         "source": "running_app_menu", "total_count": 3})"},
    // What the user's own entries are never leaves the machine: "custom".
    {"OwnAppAddedFromTheMenu", "Distraction Added",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("slack,유튜브,Discord"));
         t.running = {{"Terminal", solid(Qt::blue)}};
         t.openSettings();
         t.pickRunningApp(QStringLiteral("Terminal"));
     },
     R"({"target": "custom", "is_known_service": false, "kind": "앱",
         "source": "running_app_menu", "total_count": 4})"},
    {"SiteTyped", "Distraction Added",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브"));
         t.openSettings();
         t.typeDistraction("  https://www.Reddit.com/r/korea?x=1  ");
     },
     R"({"target": "custom", "is_known_service": false, "kind": "사이트",
         "source": "manual_input", "total_count": 2})"},
    // Split at commas (ASCII or full-width), the one already listed left out.
    {"SeveralTypedAtOnce", "Distraction Added",
     [](AnalyticsEvents& t) {
         t.seed(QStringLiteral("wolluApps"), QStringLiteral("유튜브,reddit.com"));
         t.openSettings();
         t.typeDistraction("치지직, blog.example.kr，유튜브");
     },
     R"({"target": "custom", "is_known_service": false, "kind": "사이트",
         "source": "manual_input", "total_count": 4})"},
    {"TypingCancelled", "Distraction Add Cancelled",
     [](AnalyticsEvents& t) {
         AddWolluWindowController::answerNextRun(std::nullopt);
         t.openSettings().addManual();
     },
     "{}"},
};

std::string compact(const QJsonValue& value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

TEST_P(AnalyticsEvents, CarriesExactlyItsProperties)
{
    const EventRow& row = GetParam();
    row.action(*this);
    ASSERT_FALSE(HasFatalFailure());

    QJsonParseError error{};
    const QJsonObject expected = QJsonDocument::fromJson(row.expected, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << "the row's JSON: " << row.expected;
    const QList<QJsonObject> sent = eventsNamed(row.event);
    ASSERT_FALSE(sent.isEmpty()) << row.event << " was not sent";
    const QJsonObject actual = sent.last();

    // What every event carries (the shared properties, time and insert id) is left out, unless
    // the row names it.
    QStringList shared = Analytics::superProperties().keys();
    shared << QStringLiteral("time") << QStringLiteral("$insert_id");
    QJsonObject own = actual;
    for (const QString& key : shared)
        if (!expected.contains(key))
            own.remove(key);
    SCOPED_TRACE("sent: " + QJsonDocument(own).toJson(QJsonDocument::Compact).toStdString());
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(actual.value(it.key()), it.value())
            << it.key().toStdString() << " should be " << compact(it.value());
    for (const QString& key : own.keys())
        EXPECT_TRUE(expected.contains(key)) << "unexpected " << key.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, AnalyticsEvents, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<EventRow>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
