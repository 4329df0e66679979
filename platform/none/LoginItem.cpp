// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LoginItem.h"

namespace LoginItem {

Status status()
{
    return Status::notRegistered;
}

bool registerItem(QString* error)
{
    if (error)
        *error = QStringLiteral("이 시스템은 로그인 시 실행을 지원하지 않아요");
    return false;
}

} // namespace LoginItem
