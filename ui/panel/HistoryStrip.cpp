// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/HistoryStrip.h"

#include "display/Format.h"
#include "engine/Clock.h"
#include "ledger/Ledger.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/TextImage.h"
#include "ui/toolkit/GlassView.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWeekSlotWidth = 32;
constexpr int kLegendSwatch = 7;

HistorySpan otherSpan(HistorySpan span)
{
    return span == HistorySpan::week ? HistorySpan::month : HistorySpan::week;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    const auto m = [t](double x, double y) { return float(x + t * (y - x)); };
    return QColor::fromRgbF(m(a.redF(), b.redF()), m(a.greenF(), b.greenF()),
                            m(a.blueF(), b.blueF()));
}

// Every colour is opaque, blended with the glass beforehand: the pixel font's bitmap glyphs
// ignore a pen's alpha, and bars drawn with alpha would let the today ground show through.
struct Palette
{
    QColor glass, outline, faint, todayGround, ink, muted, hint, money, slack;
    QColor green, greenLight, greenDark, red, redLight, redDark;
};

Palette paletteFor(bool dark)
{
    const AppearancePin pin(dark);
    Palette p;
    p.glass = GlassView::fillColor(dark);
    p.glass.setAlpha(255);
    const auto onGlass = [&](const QColor& c) { return mix(p.glass, c, c.alphaF()); };
    p.outline = dark ? QColor(0x14, 0x12, 0x11) : QColor(0x24, 0x20, 0x1c);
    p.faint = onGlass(faintColor());
    p.todayGround = onGlass(chipFill());
    p.ink = onGlass(inkColor());
    p.muted = onGlass(mutedInk());
    p.hint = onGlass(hintInk());
    p.money = onGlass(moneyGreenColor());
    p.slack = onGlass(wolluRedColor());
    p.green = barGreenColor();
    p.red = wolluRedColor();
    p.greenLight = mix(p.green, Qt::white, 0.35);
    p.greenDark = mix(p.green, Qt::black, 0.25);
    p.redLight = mix(p.red, Qt::white, 0.35);
    p.redDark = mix(p.red, Qt::black, 0.2);
    return p;
}

struct SlotGeometry
{
    int x0 = 0;
    int slotW = 0;
    int barW = 0;
};

SlotGeometry geometryFor(int count)
{
    SlotGeometry g;
    if (count <= 0)
        return g;
    g.slotW = std::clamp(HistoryStrip::kWidth / count, 4, kWeekSlotWidth);
    g.barW = g.slotW >= 16 ? g.slotW / 2 : std::max(3, g.slotW - 2);
    g.x0 = (HistoryStrip::kWidth - count * g.slotW) / 2;
    return g;
}

// A rectangle whose four corner pixels are left out: the rounding of pixel art.
void fillNotched(QPainter& painter, const QRect& r, const QColor& colour)
{
    if (r.width() < 3 || r.height() < 3) {
        painter.fillRect(r, colour);
        return;
    }
    painter.fillRect(QRect(r.x() + 1, r.y(), r.width() - 2, 1), colour);
    painter.fillRect(QRect(r.x(), r.y() + 1, r.width(), r.height() - 2), colour);
    painter.fillRect(QRect(r.x() + 1, r.bottom(), r.width() - 2, 1), colour);
}

// One band of the bar's body: a light first row and left column, a darker right column.
void fillShaded(QPainter& painter, const QRect& r, const QColor& base, const QColor& light,
                const QColor& shade, bool shineTop)
{
    if (r.isEmpty())
        return;
    painter.fillRect(r, base);
    if (r.width() >= 3) {
        painter.fillRect(QRect(r.x(), r.y(), 1, r.height()), light);
        painter.fillRect(QRect(r.right(), r.y(), 1, r.height()), shade);
    }
    if (shineTop)
        painter.fillRect(QRect(r.x(), r.y(), r.width() - (r.width() >= 3 ? 1 : 0), 1), light);
}

void drawBar(QPainter& painter, int x, int bottom, int w, const HistorySlot& slot, const Palette& c)
{
    const int h = slot.barPx;
    const int top = bottom - h + 1;
    // The outline with its top corners cut; the bottom stands square on the baseline.
    painter.fillRect(QRect(x + 1, top, w - 2, 1), c.outline);
    painter.fillRect(QRect(x, top + 1, w, h - 1), c.outline);
    const QRect body(x + 1, top + 1, w - 2, h - 2);
    if (body.isEmpty())
        return;
    const QRect red(body.x(), body.y(), body.width(), slot.slackPx);
    const QRect green(body.x(), body.y() + slot.slackPx, body.width(),
                      body.height() - slot.slackPx);
    fillShaded(painter, green, c.green, c.greenLight, c.greenDark, slot.slackPx == 0);
    if (slot.row && slot.row->kind == DayKind::dayOff) {
        // A paid day off: the pay without the work, drawn as a dithered (lighter) green.
        for (int yy = green.top() + 1; yy <= green.bottom(); ++yy)
            for (int xx = green.left() + 1; xx < green.right(); ++xx)
                if ((xx + yy) % 2 == 0)
                    painter.fillRect(QRect(xx, yy, 1, 1), c.greenLight);
    }
    fillShaded(painter, red, c.red, c.redLight, c.redDark, true);
}

QString weekdayName(const QDate& date)
{
    static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    return korean.dayName(date.dayOfWeek(), QLocale::NarrowFormat);
}

QString slotTip(const HistorySlot& slot)
{
    static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    const QString day = QString::number(slot.date.month()) + QStringLiteral("월 ") +
                        QString::number(slot.date.day()) + QStringLiteral("일 (") +
                        korean.dayName(slot.date.dayOfWeek(), QLocale::ShortFormat) + u')';
    if (slot.future)
        return day + QStringLiteral(" · 다가올 근무일");
    if (!slot.row)
        return day + QStringLiteral(" · 기록 없음");
    QString tip = day + QStringLiteral(" · ") + fmtWon(slot.totalWon);
    if (slot.row->slackSec > 0)
        tip += QStringLiteral(" · 월루 ") + fmtMinutes(slot.row->slackSec / 60.0);
    switch (slot.row->kind) {
    case DayKind::dayOff:
        tip += QStringLiteral(" · 휴가");
        break;
    case DayKind::halfDayAm:
        tip += QStringLiteral(" · 오전 반차");
        break;
    case DayKind::halfDayPm:
        tip += QStringLiteral(" · 오후 반차");
        break;
    default:
        break;
    }
    return tip;
}

} // namespace

HistoryStrip::HistoryStrip(QWidget* parent) : QWidget(parent), ledgerPath_(Ledger::standardPath())
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);
    setCursor(Qt::PointingHandCursor);
    dark_ = uiIsDark();
}

HistoryStrip::~HistoryStrip() = default;

void HistoryStrip::setLedgerPath(const QString& path)
{
    ledgerPath_ = path;
    ownLedger_ = false;
    ledger_.reset();
    lastRead_.reset();
}

void HistoryStrip::setRowSource(RowSource source)
{
    source_ = std::move(source);
    lastRead_.reset();
}

void HistoryStrip::setTodaySource(TodaySource source)
{
    todaySource_ = std::move(source);
    lastRead_.reset();
}

void HistoryStrip::setWorkingDayRule(WorkingDayRule rule)
{
    workingDay_ = std::move(rule);
    lastRead_.reset();
}

void HistoryStrip::setAppearance(std::optional<bool> dark)
{
    appearance_ = dark;
    if (dark && *dark != dark_) {
        dark_ = *dark;
        update();
    }
}

void HistoryStrip::setPixelRatio(qreal ratio)
{
    ratio_ = ratio;
    update();
}

qreal HistoryStrip::ratio() const
{
    return ratio_ > 0 ? ratio_ : devicePixelRatioF();
}

void HistoryStrip::refresh()
{
    const bool dark = appearance_.value_or(uiIsDark());
    if (dark != dark_) {
        dark_ = dark;
        update();
    }
    const double now = Clock::now();
    const QDate today = Clock::toLocal(now).date();
    // A clock set back counts as time gone by too.
    if (!lastRead_ || today != readDay_ || std::abs(now - *lastRead_) >= kRefreshSeconds)
        reload();
    else if (todaySource_)
        showRows(now, today);
}

void HistoryStrip::reload()
{
    const double now = Clock::now();
    const QDate today = Clock::toLocal(now).date();
    rows_ = readRows(historyReadFrom(span_, today), today);
    lastRead_ = now;
    readDay_ = today;
    ++reads_;
    showRows(now, today);
}

void HistoryStrip::showRows(double now, const QDate& today)
{
    QList<DayRecord> rows = rows_;
    // A ledger that cannot be read says so; the day alone would pass for the whole history.
    if (todaySource_ && !unreadable_) {
        const auto written = std::find_if(rows.begin(), rows.end(),
                                          [&](const DayRecord& r) { return r.date == today; });
        if (written != rows.end())
            *written = todaySource_(now, *written);
        else
            rows.append(todaySource_(now, std::nullopt));
    }
    HistoryView view =
        historyView(span_, today, rows, workingDay_ ? workingDay_ : calendarWorkingDay, kMaxBarPx);
    // Refreshed every second while the panel is open: an unchanged strip is not drawn again.
    const QString name = unreadable_ ? unreadableText() : view.totalsLine();
    const bool same = view.slots == view_.slots && view.totalsLine() == view_.totalsLine() &&
                      name == accessibleName();
    view_ = std::move(view);
    if (same)
        return;
    setAccessibleName(name);
    update();
}

const QString& HistoryStrip::unreadableText()
{
    static const QString text = QStringLiteral("기록 파일을 읽지 못했어요");
    return text;
}

QList<DayRecord> HistoryStrip::readRows(const QDate& from, const QDate& to)
{
    if (source_)
        return source_(from, to);
    // A frozen clock is a test or a scene: the user's own history has no place in it.
    if (ownLedger_ && Clock::frozen())
        return {};
    unreadable_ = false;
    if (!ledger_) {
        // Read-only: never creates the file, and waits for no writer (the ledger keeps a
        // write-ahead log). Until the application has written its first row there is nothing.
        ledger_ = std::make_unique<Ledger>(ledgerPath_, Ledger::Access::readOnly);
        if (!ledger_->isOpen()) {
            ledger_.reset();
            unreadable_ = QFileInfo::exists(ledgerPath_);
            return {};
        }
    }
    QList<DayRecord> rows = ledger_->range(from, to);
    if (!ledger_->errorText().isEmpty()) {
        ledger_.reset(); // opened afresh at the next reading
        unreadable_ = true;
    }
    return rows;
}

void HistoryStrip::setSpan(HistorySpan span)
{
    if (span == span_)
        return;
    span_ = span;
    reload();
    Q_EMIT spanChanged(span_);
}

void HistoryStrip::toggleSpan()
{
    setSpan(span_ == HistorySpan::week ? HistorySpan::month : HistorySpan::week);
}

QRect HistoryStrip::slotRect(int index) const
{
    const SlotGeometry g = geometryFor(int(view_.slots.size()));
    return {g.x0 + index * g.slotW, 0, g.slotW, kBarsHeight - 1};
}

std::optional<HistorySlot> HistoryStrip::slotAt(const QPoint& point) const
{
    if (point.y() < 0 || point.y() >= kLabelsTop + 14)
        return std::nullopt;
    for (int i = 0; i < view_.slots.size(); ++i) {
        const QRect r = slotRect(i);
        if (point.x() >= r.left() && point.x() <= r.right())
            return view_.slots.at(i);
    }
    return std::nullopt;
}

void HistoryStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        toggleSpan();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

bool HistoryStrip::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<HistorySlot> slot = slotAt(help->pos()))
            QToolTip::showText(help->globalPos(), slotTip(*slot), this);
        else
            QToolTip::showText(help->globalPos(),
                               QStringLiteral("눌러서 ") + historySpanName(otherSpan(span_)) +
                                   QStringLiteral(" 보기"),
                               this);
        return true;
    }
    return QWidget::event(event);
}

void HistoryStrip::paintEvent(QPaintEvent*)
{
    const Palette c = paletteFor(dark_);
    const qreal r = ratio();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    const int count = int(view_.slots.size());
    const SlotGeometry g = geometryFor(count);
    const int baseline = kBarsHeight - 1;
    const int bottom = baseline - 1;

    for (int i = 0; i < count; ++i) {
        const HistorySlot& slot = view_.slots.at(i);
        const QRect area = slotRect(i);
        if (slot.today)
            fillNotched(painter, area.adjusted(1, 0, -1, 0), c.todayGround);
        const int x = area.x() + (g.slotW - g.barW) / 2;
        // Days before the period the totals cover stand back.
        painter.setOpacity(slot.counted ? 1.0 : 0.45);
        if (slot.future) {
            painter.fillRect(QRect(x + g.barW / 2 - 1, bottom, 2, 1), c.faint);
        } else if (!slot.row) {
            for (int dx = 0; dx < g.barW; dx += 2)
                painter.fillRect(QRect(x + dx, bottom, 1, 1), c.faint);
        } else if (slot.barPx == 0) {
            // The application ran but nothing was paid: a flat outline.
            painter.fillRect(QRect(x, bottom, g.barW, 1), c.outline);
        } else {
            drawBar(painter, x, bottom, g.barW, slot, c);
        }
        painter.setOpacity(1.0);
    }
    painter.fillRect(QRect(0, baseline, kWidth, 1), c.faint);

    const auto drawLine = [&](const QImage& image, double x, int top, int lineHeight) {
        const QSizeF size = image.deviceIndependentSize();
        painter.drawImage(
            QPointF(std::round(x), top + std::round((lineHeight - size.height()) / 2)), image);
        return size.width();
    };

    // Under the bars: weekdays for the week; the month and today for the month.
    const QFont labelFont = mona(10);
    const int labelH = kMoneyLineTop - kLabelsTop;
    if (view_.span == HistorySpan::week) {
        for (int i = 0; i < count; ++i) {
            const HistorySlot& slot = view_.slots.at(i);
            // Today's lighter ground is named where it stands, as in the month.
            const QImage label =
                renderMonaLine(slot.today ? QStringLiteral("오늘") : weekdayName(slot.date),
                               labelFont, slot.today ? c.ink : c.muted, r);
            const QRect area = slotRect(i);
            drawLine(label, area.x() + (area.width() - label.deviceIndependentSize().width()) / 2,
                     kLabelsTop, labelH);
        }
    } else if (count > 0) {
        const QImage month = renderMonaLine(
            QString::number(view_.to.month()) + QStringLiteral("월"), labelFont, c.muted, r);
        // The month's name at the right end, unless today's label is there already.
        const double monthW = month.deviceIndependentSize().width();
        const double monthX = std::min<double>(kWidth - monthW, g.x0 + count * g.slotW - monthW);
        double todayRight = -1;
        for (int i = 0; i < count; ++i) {
            if (!view_.slots.at(i).today)
                continue;
            const QImage today = renderMonaLine(QStringLiteral("오늘"), labelFont, c.ink, r);
            const double w = today.deviceIndependentSize().width();
            const QRect area = slotRect(i);
            const double x = std::clamp(area.center().x() + 0.5 - w / 2, 0.0, kWidth - w);
            drawLine(today, x, kLabelsTop, labelH);
            todayRight = x + w;
        }
        if (todayRight + 6 <= monthX)
            drawLine(month, monthX, kLabelsTop, labelH);
    }

    // The totals: the heading and the money, a hint at the other span, then overtime and
    // slacking.
    const int moneyH = kDetailLineTop - kMoneyLineTop;
    double x = drawLine(renderMonaLine(view_.heading + u' ', mona(12), c.muted, r), 0,
                        kMoneyLineTop, moneyH);
    drawLine(renderMonaLine(view_.moneyText, mona(12), c.money, r), x, kMoneyLineTop, moneyH);
    const QImage hint = renderMonaLine(
        historySpanName(otherSpan(view_.span)) + QStringLiteral(" ▸"), mona(10), c.hint, r);
    drawLine(hint, kWidth - hint.deviceIndependentSize().width(), kMoneyLineTop, moneyH);

    const QString overtime = view_.overtimeText + QStringLiteral(" · ");
    const QString& slacking = view_.slackText;
    const QColor slackColour = view_.totals.slackSec >= 60 ? c.slack : c.muted;
    QFont detailFont = mona(11);
    QImage first = renderMonaLine(overtime, detailFont, c.muted, r);
    QImage second = renderMonaLine(slacking, detailFont, slackColour, r);
    if (first.deviceIndependentSize().width() + second.deviceIndependentSize().width() > kWidth) {
        // A long month (hundreds of hours) still fits on one line, a size smaller.
        detailFont = mona(10);
        first = renderMonaLine(overtime, detailFont, c.muted, r);
        second = renderMonaLine(slacking, detailFont, slackColour, r);
    }
    const int detailH = kHeight - kDetailLineTop;
    if (unreadable_) {
        // Empty bars would read as days not worked: the line under them says why they are empty.
        drawLine(renderMonaLine(unreadableText(), mona(11), c.muted, r), 0, kDetailLineTop,
                 detailH);
        return;
    }
    x = drawLine(first, 0, kDetailLineTop, detailH);
    // The legend of the bars' red top: a swatch of it in front of the slacking figure.
    const int swatch = kLegendSwatch;
    if (x + swatch + 2 + second.deviceIndependentSize().width() <= kWidth) {
        const int top = kDetailLineTop + (detailH - swatch) / 2;
        painter.fillRect(QRect(int(std::round(x)), top, swatch, swatch), c.outline);
        painter.fillRect(QRect(int(std::round(x)) + 1, top + 1, swatch - 2, swatch - 2), c.red);
        x += swatch + 2;
    }
    drawLine(second, x, kDetailLineTop, detailH);
}
