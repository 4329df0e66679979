// SPDX-License-Identifier: GPL-3.0-or-later
#include "slacking/KnownServices.h"

using namespace Qt::StringLiterals;

namespace {

struct Row
{
    QStringList keys;
    QStringList tokens;
    QString kind;
};

QHash<QString, KnownService> buildTable()
{
    const QString site = QStringLiteral("사이트");
    const QString app = QStringLiteral("앱");
    const QString appAndSite = QStringLiteral("앱, 사이트");
    // Each row lists every name people type for one service (Korean, English, nicknames) and
    // the words that show up in its app name or web host.
    const Row rows[] = {
        {{u"유튜브"_s, u"youtube"_s, u"유튭"_s}, {u"youtube"_s}, site},
        {{u"넷플릭스"_s, u"netflix"_s, u"넷플"_s}, {u"netflix"_s}, site},
        {{u"인스타"_s, u"인스타그램"_s, u"instagram"_s}, {u"instagram"_s}, site},
        {{u"트위치"_s, u"twitch"_s}, {u"twitch"_s}, site},
        {{u"틱톡"_s, u"tiktok"_s}, {u"tiktok"_s}, site},
        {{u"페이스북"_s, u"페북"_s, u"facebook"_s}, {u"facebook"_s}, site},
        // Twitter now lives at x.com; "x" alone is too short to match as a word.
        {{u"트위터"_s, u"twitter"_s}, {u"twitter"_s, u"x.com"_s}, site},
        {{u"레딧"_s, u"reddit"_s}, {u"reddit"_s}, site},
        {{u"쿠팡"_s, u"coupang"_s}, {u"coupang"_s}, site},
        {{u"네이버"_s, u"naver"_s}, {u"naver"_s}, site},
        {{u"당근"_s, u"당근마켓"_s}, {u"daangn"_s, u"karrot"_s}, site},
        {{u"치지직"_s}, {u"chzzk"_s}, site},
        {{u"아프리카"_s}, {u"afreeca"_s, u"sooplive"_s}, site},
        {{u"디시"_s}, {u"dcinside"_s}, site},
        {{u"에브리타임"_s, u"에타"_s}, {u"everytime"_s}, site},
        // The macOS app is named in Korean, so the Korean name is a token of its own.
        {{u"카카오톡"_s, u"카톡"_s, u"kakaotalk"_s}, {u"kakaotalk"_s, u"카카오톡"_s}, app},
        {{u"디스코드"_s, u"discord"_s}, {u"discord"_s}, appAndSite},
        {{u"슬랙"_s, u"slack"_s}, {u"slack"_s}, appAndSite},
        {{u"텔레그램"_s, u"telegram"_s, u"텔레"_s}, {u"telegram"_s}, appAndSite},
    };

    QHash<QString, KnownService> table;
    for (const Row& row : rows) {
        for (const QString& key : row.keys)
            table.insert(key, KnownService{row.tokens, row.kind});
    }
    return table;
}

} // namespace

const QHash<QString, KnownService>& KNOWN_SERVICES()
{
    static const QHash<QString, KnownService> table = buildTable();
    return table;
}
