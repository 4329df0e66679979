// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/FrontSourceLines.h"

using namespace Qt::StringLiterals;

QStringList frontSourceLines(FrontSource source)
{
    switch (source) {
    case FrontSource::x11:
        return {u"· 앞에 있는 창: X11이 알려 줘요"_s};
    case FrontSource::wlroots:
        return {u"· 앞에 있는 창: 컴포지터의 창 목록"_s};
    case FrontSource::kwinScript:
        return {u"· 앞에 있는 창: KWin 스크립트가 알려 줘요"_s};
    case FrontSource::gnomeExtension:
        return {u"· 앞에 있는 창: 톡웍 GNOME 확장이 알려 줘요"_s};
    case FrontSource::gnomeExtensionMissing:
        // Only XWayland windows are seen meanwhile, and most GNOME apps are native. The block is
        // narrow: the command goes on a line of its own.
        return {u"· 앞에 있는 창: GNOME 확장이 필요해요"_s,
                u"· 설치: tockwork --install-desktop-support"_s};
    case FrontSource::none:
        break;
    }
    return {u"· 앞에 있는 창: 이 데스크톱에선 알 수 없어요"_s};
}
