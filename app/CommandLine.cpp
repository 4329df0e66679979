// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QSet>

#include <array>

namespace {

const QString kState = QStringLiteral("--state");
const QString kDemo = QStringLiteral("--demo");

const QString kStateValues = QStringLiteral("근무, 점심, 야근, 저녁, 퇴근, 휴일 "
                                            "(working, lunch, overtime, dinner, done, off)");

// Our switches that stand alone; "--contact", "--panel", "--settings" and "--state" take values.
const QSet<QString>& plainSwitches()
{
    static const QSet<QString> set{
        QStringLiteral("--twopanels"),
        QStringLiteral("--fourpanels"),
        QStringLiteral("--eod"),
        kDemo,
        QStringLiteral("--install-browser-support"),
        QStringLiteral("--install-desktop-support"),
    };
    return set;
}

// QGuiApplication's and QApplication's own options, which reach main() before Qt removes them:
// the session manager restarts a program with "-session <id>", users pass "-platform xcb".
bool isQtOption(const QString& arg, bool* takesValue)
{
    static const QSet<QString> withValue{
        QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"),    QStringLiteral("-session"),
        QStringLiteral("-style"),           QStringLiteral("-stylesheet"),
        QStringLiteral("-display"),         QStringLiteral("-geometry"),
        QStringLiteral("-title"),           QStringLiteral("-name"),
    };
    static const QSet<QString> alone{
        QStringLiteral("-reverse"), QStringLiteral("-widgetcount"), QStringLiteral("-nograb"),
        QStringLiteral("-dograb"),  QStringLiteral("-sync"),        QStringLiteral("-testability"),
    };
    *takesValue = withValue.contains(arg);
    return *takesValue || alone.contains(arg) || arg.startsWith(QLatin1String("-qmljsdebugger=")) ||
           arg.startsWith(QLatin1String("-style=")) ||
           arg.startsWith(QLatin1String("-stylesheet="));
}

LaunchCommand failure(const QString& message)
{
    LaunchCommand command;
    command.mode = LaunchMode::usageError;
    command.error = message;
    return command;
}

} // namespace

LaunchCommand parseCommandLine(const QStringList& args)
{
    LaunchCommand command;
    const QStringList rest = args.mid(1); // argument 0 is the program path and never a switch
    std::optional<LaunchMode> install;
    bool stateSeen = false;

    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QString& arg = rest[i];
        const bool hasNext = i + 1 < rest.size();
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            command.mode = LaunchMode::help;
            return command;
        }
        if (arg == QLatin1String("--version")) {
            command.mode = LaunchMode::version;
            return command;
        }
        bool qtValue = false;
        if (arg == QLatin1String("--contact") || arg == QLatin1String("--panel")) {
            i += hasNext ? 1 : 0; // the file; without one the switch falls through to the tray
        } else if (arg == QLatin1String("--settings")) {
            i += hasNext && rest[i + 1] == QLatin1String("add") ? 1 : 0;
        } else if (arg == kState) {
            if (!hasNext)
                return failure(QStringLiteral("--state 뒤에 상태가 필요해요: ") + kStateValues);
            const QString& value = rest[++i];
            const std::optional<DayState> state = previewStateFromArgument(value);
            if (!state)
                return failure(QStringLiteral("알 수 없는 상태: ") + value +
                               QStringLiteral("\n--state 뒤에는 ") + kStateValues +
                               QStringLiteral(" 중 하나를 써요"));
            // The first "--state" decides; later ones are checked but change nothing.
            if (!stateSeen)
                command.start.demoState = state;
            stateSeen = true;
        } else if (plainSwitches().contains(arg)) {
            if (arg == kDemo)
                command.start.scriptedDemo = true;
            else if (arg == QLatin1String("--install-desktop-support"))
                install = LaunchMode::installDesktopSupport;
            else if (arg == QLatin1String("--install-browser-support") && !install)
                install = LaunchMode::installBrowserSupport;
        } else if (isQtOption(arg, &qtValue)) {
            i += qtValue && hasNext ? 1 : 0;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return failure(QStringLiteral("알 수 없는 옵션: ") + arg);
        }
        // Anything else is a word of no switch's and changes nothing, as it always has.
    }
    if (install) {
        command.mode = *install;
        return command;
    }

    const QString first = rest.value(0);
    const bool hasSecond = rest.size() > 1;
    command.demoRun = (first.startsWith(QLatin1String("--")) && first != kState) ||
                      rest.contains(kDemo) || rest.contains(kState);

    if (first == QLatin1String("--contact") && hasSecond) {
        command.mode = LaunchMode::contactSheet;
        command.path = rest.at(1);
    } else if (first == QLatin1String("--panel") && hasSecond) {
        command.mode = LaunchMode::panelPreview;
        command.path = rest.at(1);
    } else if (first == QLatin1String("--twopanels")) {
        command.mode = LaunchMode::twoPanels;
    } else if (first == QLatin1String("--fourpanels")) {
        command.mode = LaunchMode::fourPanels;
    } else if (first == QLatin1String("--settings")) {
        command.mode = LaunchMode::settingsPreview;
        command.openAdd = hasSecond && rest.at(1) == QLatin1String("add");
    } else if (first == QLatin1String("--eod")) {
        command.mode = LaunchMode::eodPreview;
    }
    return command;
}

bool writesFilesOnly(LaunchMode mode)
{
    return mode == LaunchMode::contactSheet || mode == LaunchMode::panelPreview;
}

std::optional<DayState> previewStateFromArgument(const QString& value)
{
    struct Name
    {
        const char16_t* korean;
        const char* english;
        DayState state;
    };
    static constexpr std::array<Name, 6> kNames{{
        {u"근무", "working", DayState::working},
        {u"점심", "lunch", DayState::lunch},
        {u"야근", "overtime", DayState::overtime},
        {u"저녁", "dinner", DayState::dinner},
        {u"퇴근", "done", DayState::done},
        {u"휴일", "off", DayState::off},
    }};
    for (const Name& name : kNames)
        if (value == QString::fromUtf16(name.korean) || value == QLatin1String(name.english))
            return name.state;
    return std::nullopt;
}

QString usage()
{
    return QStringLiteral(
        "사용법: tockwork [--state 상태] [--demo]\n"
        "        tockwork --contact 파일.png | --panel 파일.png\n"
        "        tockwork --twopanels | --fourpanels | --eod | --settings [add]\n"
        "        tockwork --install-browser-support | --install-desktop-support\n"
        "        tockwork --version | --help\n"
        "\n"
        "  (옵션 없이)       트레이에 개미를 띄우고 오늘 번 돈을 초 단위로 보여줘요\n"
        "  --state 상태      정해진 단계로 보여줘요: 근무, 점심, 야근, 저녁, 퇴근, 휴일\n"
        "                    (working, lunch, overtime, dinner, done, off)\n"
        "  --demo            정해진 네 날을 설명과 함께 나란히 보여줘요\n"
        "  --contact 파일    단계마다 트레이 그림을 밝은/어두운 배경에 PNG로 (화면 없이)\n"
        "  --panel 파일      패널 두 개(근무, 퇴근)를 PNG로 (화면 없이)\n"
        "  --twopanels       정해진 날의 패널을 창으로 (--fourpanels: 외부 화면에)\n"
        "  --eod             퇴근 질문 창 미리보기\n"
        "  --settings [add]  설정 창만 (add: \"딴짓 추가\" 창도 열어요)\n"
        "  --install-browser-support\n"
        "                    브라우저마다 주소 연결 프로그램을 등록하고 확장 폴더를 알려줘요\n"
        "  --install-desktop-support\n"
        "                    위와 같이 하고, GNOME Shell 확장도 설치해요\n"
        "  --version         버전을 보여줘요\n"
        "  --help            이 도움말\n"
        "\n"
        "미리보기와 데모는 내 기록을 바꾸지 않고, 실제 사용 통계도 보내지 않아요.\n"
        "터미널에서 오늘을 보려면: tockwork-cli status\n");
}
