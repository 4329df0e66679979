// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/panel/HistoryFigures.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class Ledger;

// The days gone by at a glance, under the slacking band: one pixel-art bar per working day (its
// height the money earned, its red top the part paid while slacking, today on a lighter ground
// labelled "오늘", gaps where the application did not run) and the totals of the bars drawn
// below, the slacking figure behind a swatch of the red top. A click switches between the last
// seven working days ("최근 7일") and this month ("이번 달"). Rows come from the day ledger, read
// at most once a minute (and at once when the day or the span changes); with a today source,
// today's bar and the totals follow the day at every refresh in between.
class HistoryStrip final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 224;
    static constexpr int kHeight = 84;
    static constexpr double kRefreshSeconds = 60;
    // In the panel: the strip's bottom edge this many points above the panel's bottom (clear of
    // the chips), and everything from the slacking band up lifted by kPanelLift.
    static constexpr int kPanelBottom = 54;
    static constexpr int kPanelLift = kHeight + 8;
    // Inside the strip, from its top: the bars stand on a baseline at y = kBarsHeight - 1.
    static constexpr int kBarsHeight = 34;
    static constexpr int kMaxBarPx = 31;
    static constexpr int kLabelsTop = 35;
    static constexpr int kMoneyLineTop = 50;
    static constexpr int kDetailLineTop = 67;

    // Rows from `from` to `to`, both included (the ledger's range()).
    using RowSource = std::function<QList<DayRecord>(const QDate& from, const QDate& to)>;

    // Reads the ledger at Ledger::standardPath(), except while the clock is frozen (tests and
    // scenes, which never show the user's history).
    explicit HistoryStrip(QWidget* parent = nullptr);
    ~HistoryStrip() override;

    // Another ledger file (tests), or rows from elsewhere (fixed demo days).
    void setLedgerPath(const QString& path);
    void setRowSource(RowSource source);
    // Today's row as it stands at `now`, given the one last written (none before the first
    // write). Set where the strip shows the day being recorded, whose ledger row trails it by up
    // to a minute, so that the strip agrees with the panel's live figures above it.
    using TodaySource =
        std::function<DayRecord(double now, const std::optional<DayRecord>& written)>;
    void setTodaySource(TodaySource source);
    // Which days get a slot; calendarWorkingDay() unless set.
    void setWorkingDayRule(WorkingDayRule rule);

    // Light or dark regardless of the caller's pin (previews); none: uiIsDark() at refresh().
    void setAppearance(std::optional<bool> dark);
    // Pixels per point of the text pictures; 0 follows the screen.
    void setPixelRatio(qreal ratio);

    // Call on every refresh of the panel, while its colours are pinned: takes the appearance, and
    // reads the ledger again when a minute has passed or the day has changed since the last read.
    void refresh();
    // Reads the ledger now.
    void reload();

    HistorySpan span() const { return span_; }
    void setSpan(HistorySpan span);
    void toggleSpan();

    const HistoryView& view() const { return view_; }
    bool isDark() const { return dark_; }
    // How often rows were read.
    int reads() const { return reads_; }
    // The ledger is there but could not be read at the last reading (damaged, held by another
    // program, another user's): the strip says so instead of showing an empty history.
    bool unreadable() const { return unreadable_; }
    static const QString& unreadableText();
    // The slot under `point` (widget coordinates), if any.
    std::optional<HistorySlot> slotAt(const QPoint& point) const;
    // A slot's bar area, from the strip's top-left corner, in points.
    QRect slotRect(int index) const;

    QSize sizeHint() const override { return {kWidth, kHeight}; }

Q_SIGNALS:
    void spanChanged(HistorySpan span);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QList<DayRecord> readRows(const QDate& from, const QDate& to);
    // The view of the rows read, today's as the today source has it now.
    void showRows(double now, const QDate& today);
    qreal ratio() const;

    HistorySpan span_ = HistorySpan::week;
    HistoryView view_;
    RowSource source_;
    TodaySource todaySource_;
    QList<DayRecord> rows_; // as last read
    WorkingDayRule workingDay_;
    QString ledgerPath_;
    bool ownLedger_ = true; // ledgerPath_ is the user's
    std::unique_ptr<Ledger> ledger_;
    std::optional<bool> appearance_;
    bool dark_ = false;
    qreal ratio_ = 0;
    std::optional<double> lastRead_;
    QDate readDay_;
    int reads_ = 0;
    bool unreadable_ = false;
};
