// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Arguments.h"
#include "ledger/DayRecord.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// `history`: the ledger's days as a Korean table with totals, CSV for spreadsheets, or JSON.
// Reads the ledger only, so it works while the application writes it.
namespace HistoryCommand {

int run(const Cli::Options& options);

// Columns assumed when the output is not a terminal.
constexpr int kDefaultColumns = 80;
// The width of the terminal on stdout, or kDefaultColumns for a pipe or a file.
int terminalColumns();

// The shapes, separate from reading the file so they can be checked directly. The table fits
// `columns` terminal columns: when it would not, the dates lose their year and then the less
// needed columns give way (their sums stay in the totals below).
QString table(const QString& heading, const QDate& from, const QDate& to,
              const QList<DayRecord>& days, int columns = kDefaultColumns);
QByteArray csv(const QList<DayRecord>& days);
QByteArray json(const QDate& from, const QDate& to, const QList<DayRecord>& days);

} // namespace HistoryCommand
