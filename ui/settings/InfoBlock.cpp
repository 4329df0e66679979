// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/InfoBlock.h"

namespace InfoBlock {

QStringList browserAddressLines(const LinesProvider& provider)
{
    if (!provider)
        return {};
    QStringList lines;
    for (const QString& line : provider()) {
        // One line per entry, however it was written: each is one row of the block.
        const QString single = line.simplified();
        if (!single.isEmpty())
            lines << single;
    }
    return lines;
}

Section slackingCriteria(const QStringList& browserLines)
{
    QStringList lines{QStringLiteral("· 지정 딴짓 앱, 사이트 사용")};
    lines += browserLines;
    lines << QStringLiteral("· 화면보호기, 화면 잠금, 모니터 꺼짐")
          << QStringLiteral("· 10분 이상 키보드와 마우스 움직임 없음")
          << QStringLiteral("· 자리 비운 사이 컴퓨터가 잠든 시간");
    return {QStringLiteral("🐜💸 월루 기준 (점심, 저녁 식사 중 제외)"), lines};
}

Section overtimeAllowance()
{
    return {QStringLiteral("🐜💸 추가 수당 기준 (야근, 5인 이상)"),
            {QStringLiteral("· 연장(8시간 초과): 시급의 1.5배"),
             QStringLiteral("· 야간(22~06시): 0.5배 가산"),
             QStringLiteral("· 연장, 야간 겹치면 2.0배")}};
}

} // namespace InfoBlock
