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

// The shapes, separate from reading the file so they can be checked directly.
QString table(const QString& heading, const QDate& from, const QDate& to,
              const QList<DayRecord>& days);
QByteArray csv(const QList<DayRecord>& days);
QByteArray json(const QDate& from, const QDate& to, const QList<DayRecord>& days);

} // namespace HistoryCommand
