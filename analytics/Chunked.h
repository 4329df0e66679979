// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <algorithm>

namespace Analytics {

// Consecutive pieces of `size` elements, the last one shorter. An empty list gives no pieces; a
// size below 1 gives the whole list as one piece.
template <typename List> QList<List> chunked(const List& list, qsizetype size)
{
    QList<List> pieces;
    if (list.isEmpty())
        return pieces;
    if (size < 1) {
        pieces.push_back(list);
        return pieces;
    }
    const qsizetype count = list.size();
    for (qsizetype first = 0; first < count; first += size) {
        List piece;
        const qsizetype end = std::min(count, first + size);
        for (qsizetype i = first; i < end; ++i)
            piece.push_back(list.at(i));
        pieces.push_back(piece);
    }
    return pieces;
}

} // namespace Analytics
