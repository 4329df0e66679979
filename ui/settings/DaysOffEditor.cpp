// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/DaysOffEditor.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Holidays.h"
#include "engine/Store.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>

namespace {

constexpr int kListTop = DaysOffEditor::kHeaderHeight + 4;
constexpr int kFieldHeight = 26;

const QLocale& korean()
{
    static const QLocale locale(QLocale::Korean, QLocale::SouthKorea);
    return locale;
}

QDate today()
{
    return Clock::nowLocal().date();
}

// "12.24 (목)" this year, "2027.01.02 (토)" in another.
QString dateText(const QDate& date)
{
    const QString format =
        date.year() == today().year() ? QStringLiteral("MM.dd") : QStringLiteral("yyyy.MM.dd");
    return date.toString(format) + QStringLiteral(" (") +
           korean().dayName(date.dayOfWeek(), QLocale::ShortFormat) + u')';
}

// The calendar gives the day off already: one's own day off changes nothing on it.
bool alreadyOff(const QDate& date)
{
    return Cfg::excludeWeekend() && (date.dayOfWeek() >= Qt::Saturday || Holidays::isHoliday(date));
}

bool isReturn(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

DaysOffEditor::DaysOffEditor(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);

    title_ = new QLabel(QStringLiteral("내 휴가"), this);
    title_->setGeometry(0, 0, 150, kHeaderHeight);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);
    addBtn_ = new QPushButton(QStringLiteral("+ 휴가"), this);
    addBtn_->setAccessibleName(QStringLiteral("휴가 추가"));
    addBtn_->setCursor(Qt::PointingHandCursor);
    addBtn_->setGeometry(kWidth - 62, 0, 62, kHeaderHeight);
    connect(addBtn_, &QPushButton::clicked, this, &DaysOffEditor::openForm);

    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    form_ = new QWidget(this);
    form_->hide();
    dateField_ = new QDateEdit(form_);
    dateField_->setLocale(korean());
    dateField_->setDisplayFormat(QStringLiteral("yyyy.MM.dd (ddd)"));
    dateField_->setCalendarPopup(true);
    dateField_->setAccessibleName(QStringLiteral("휴가 날짜"));
    dateField_->setObjectName(QStringLiteral("dayOffDate"));
    dateField_->setGeometry(0, 0, 124, kFieldHeight);
    kindPopup_ = new QComboBox(form_);
    kindPopup_->addItems({QStringLiteral("연차"), QStringLiteral("오전 반차"),
                          QStringLiteral("오후 반차"), QStringLiteral("회사 휴무")});
    kindPopup_->setAccessibleName(QStringLiteral("휴가 종류"));
    kindPopup_->setObjectName(QStringLiteral("dayOffKind"));
    kindPopup_->setGeometry(130, 0, kWidth - 130, kFieldHeight);
    noteField_ = new QLineEdit(form_);
    noteField_->setMaxLength(kNoteMaxLength);
    noteField_->setPlaceholderText(QStringLiteral("예: 창립기념일"));
    noteField_->setAccessibleName(QStringLiteral("휴가 메모"));
    noteField_->setObjectName(QStringLiteral("dayOffNote"));
    noteField_->setGeometry(0, kFieldHeight + 6, 112, kFieldHeight);
    cancelBtn_ = SettingsStyle::chipButton(form_, QStringLiteral("취소"));
    cancelBtn_->setAccessibleName(QStringLiteral("휴가 추가 취소"));
    cancelBtn_->setGeometry(118, kFieldHeight + 6, 50, kFieldHeight);
    confirmBtn_ = SettingsStyle::chipButton(form_, QStringLiteral("넣기"));
    confirmBtn_->setAccessibleName(QStringLiteral("휴가 넣기"));
    confirmBtn_->setGeometry(174, kFieldHeight + 6, 50, kFieldHeight);
    connect(cancelBtn_, &QAbstractButton::clicked, this, &DaysOffEditor::closeForm);
    connect(confirmBtn_, &QAbstractButton::clicked, this, &DaysOffEditor::addFromForm);
    // Return and Escape in the form belong to the form, not to the window's save and cancel.
    for (QWidget* field : std::initializer_list<QWidget*>{dateField_, kindPopup_, noteField_})
        field->installEventFilter(this);

    reload();
    resize(kWidth, heightFor(int(shownDays().size()), false));
}

DaysOffEditor::~DaysOffEditor() = default;

int DaysOffEditor::heightFor(int rows, bool adding)
{
    int h = kListTop;
    if (rows > 0)
        h += std::min(rows, kVisibleRows) * kRowHeight;
    else if (!adding)
        h += kEmptyHeight;
    if (adding)
        h += 4 + kFormHeight;
    return h;
}

QList<DayOff> DaysOffEditor::shownDays() const
{
    const QDate from = today();
    QList<DayOff> shown;
    for (const DayOff& d : days_)
        if (d.date >= from)
            shown << d;
    return shown;
}

void DaysOffEditor::reload()
{
    // The terminal companion may have changed the list since the store last read its file.
    Store::standard().reloadIfChanged();
    stored_ = DaysOff::list();
    days_ = stored_;
    rebuildRows();
    updateHeight();
}

bool DaysOffEditor::store()
{
    Store::standard().reloadIfChanged();
    QMap<QDate, DayOff> before, after;
    for (const DayOff& d : std::as_const(stored_))
        before.insert(d.date, d);
    for (const DayOff& d : std::as_const(days_))
        after.insert(d.date, d);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!after.contains(it.key()))
            DaysOff::remove(it.key());
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value() || !before.contains(it.key()))
            DaysOff::add(it.value());
    // A store that cannot write keeps the values in memory, as it does for every other setting.
    const bool written = Store::standard().persistent();
    reload();
    return written;
}

QString DaysOffEditor::kindText(const DayOff& day)
{
    switch (day.part) {
    case DayOffPart::morning:
    case DayOffPart::afternoon: {
        const QString half = day.part == DayOffPart::morning ? QStringLiteral("오전 반차")
                                                             : QStringLiteral("오후 반차");
        return day.note.isEmpty() ? half : half + QStringLiteral(" · ") + day.note;
    }
    case DayOffPart::fullDay:
        break;
    }
    return day.note.isEmpty() ? QStringLiteral("연차") : day.note;
}

DayOff DaysOffEditor::entryFor(const QDate& date, Kind kind, const QString& note)
{
    DayOff day;
    day.date = date;
    day.note = note.simplified().left(kNoteMaxLength);
    switch (kind) {
    case Kind::annualLeave:
        break;
    case Kind::morningOff:
        day.part = DayOffPart::morning;
        break;
    case Kind::afternoonOff:
        day.part = DayOffPart::afternoon;
        break;
    case Kind::companyHoliday:
        if (day.note.isEmpty())
            day.note = QStringLiteral("회사 휴무");
        break;
    }
    return day;
}

void DaysOffEditor::openForm()
{
    if (formOpen_) {
        dateField_->setFocus(Qt::OtherFocusReason);
        return;
    }
    formOpen_ = true;
    // The next working day is the likeliest, and never a day gone by.
    QDate next = today().addDays(1);
    for (int i = 0; i < 14 && alreadyOff(next); ++i)
        next = next.addDays(1);
    dateField_->setMinimumDate(today());
    dateField_->setDate(next);
    kindPopup_->setCurrentIndex(0);
    noteField_->clear();
    rebuildRows();
    updateHeight();
    form_->show();
    dateField_->setFocus(Qt::OtherFocusReason);
}

void DaysOffEditor::closeForm()
{
    if (!formOpen_)
        return;
    formOpen_ = false;
    hideForm();
    rebuildRows();
    updateHeight();
}

bool DaysOffEditor::addFromForm()
{
    if (!formOpen_)
        return false;
    dateField_->interpretText();
    const QDate date = dateField_->date();
    if (!date.isValid())
        return false;
    const DayOff day = entryFor(
        date, static_cast<Kind>(std::clamp(kindPopup_->currentIndex(), 0, 3)), noteField_->text());
    days_.removeIf([&](const DayOff& d) { return d.date == date; });
    days_.append(day);
    std::sort(days_.begin(), days_.end(),
              [](const DayOff& a, const DayOff& b) { return a.date < b.date; });
    formOpen_ = false;
    hideForm();
    rebuildRows();
    updateHeight();
    Q_EMIT edited();
    return true;
}

void DaysOffEditor::removeDay(const QDate& date)
{
    if (days_.removeIf([&](const DayOff& d) { return d.date == date; }) == 0)
        return;
    rebuildRows();
    updateHeight();
    Q_EMIT edited();
}

void DaysOffEditor::hideForm()
{
    // The keyboard goes back to the button that opened the form, not to the window's first field.
    const bool hadFocus = form_->isAncestorOf(QApplication::focusWidget());
    form_->hide();
    if (hadFocus)
        addBtn_->setFocus(Qt::OtherFocusReason);
}

QPushButton* DaysOffEditor::removeButton(const QDate& date) const
{
    QWidget* rows = scroll_->widget();
    if (!rows)
        return nullptr;
    for (QPushButton* button : rows->findChildren<QPushButton*>())
        if (button->property("date").toDate() == date)
            return button;
    return nullptr;
}

void DaysOffEditor::restyle()
{
    // The window's pin, when it has one; else the appearance set last (or the desktop's).
    if (uiDarkOverride)
        dark_ = *uiDarkOverride;
    rebuildRows();
}

void DaysOffEditor::styleControls()
{
    title_->setFont(monaBold(12));
    QPalette titlePalette = title_->palette();
    titlePalette.setColor(QPalette::WindowText, SettingsStyle::onGlass(inkColor()));
    title_->setPalette(titlePalette);
    for (QWidget* w :
         std::initializer_list<QWidget*>{addBtn_, dateField_, kindPopup_, noteField_}) {
        w->setFont(mona(12));
        SettingsStyle::applyPalette(w);
    }
    SettingsStyle::restyleChip(confirmBtn_);
    SettingsStyle::restyleChip(cancelBtn_);
    scroll_->setStyleSheet(SettingsStyle::scrollAreaStyle(QStringLiteral("daysOffRows")));
}

void DaysOffEditor::rebuildRows()
{
    // Drawn in the window's appearance also when an action of the editor's own (outside the
    // window's layout) rebuilds the rows.
    const AppearancePin pin(dark_.value_or(uiIsDark()));
    styleControls();

    const QList<DayOff> shown = shownDays();
    // Deleted later: the remove button whose click led here is among them.
    if (QWidget* old = scroll_->takeWidget()) {
        old->hide();
        old->deleteLater();
    }
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("daysOffRows"));
    const bool scrolls = shown.size() > kVisibleRows;
    const int rowWidth = scrolls ? kWidth - 8 : kWidth;
    rows->resize(rowWidth, kRowHeight * int(shown.size()));
    const QFont dateFont = mona(12);
    const QFont kindFont = mona(11);
    // One column for the dates, as wide as the widest ("2027.01.04 (월)" carries its year).
    int dateWidth = 80;
    for (const DayOff& day : shown)
        dateWidth =
            std::max(dateWidth, QFontMetrics(dateFont).horizontalAdvance(dateText(day.date)) + 8);
    dateWidth = std::min(dateWidth, rowWidth / 2);
    for (int i = 0; i < shown.size(); ++i) {
        const DayOff& day = shown.at(i);
        const int top = kRowHeight * i;
        QLabel* date = SettingsStyle::label(rows, dateText(day.date), dateFont, inkColor(),
                                            Qt::AlignLeft | Qt::AlignVCenter);
        date->setGeometry(0, top, dateWidth, kRowHeight);
        QString kind = kindText(day);
        if (alreadyOff(day.date))
            kind += QStringLiteral(" (쉬는 날)");
        const int kindWidth = rowWidth - dateWidth - 28;
        QLabel* kindLabel = SettingsStyle::label(
            rows, QFontMetrics(kindFont).elidedText(kind, Qt::ElideRight, kindWidth), kindFont,
            mutedInk(), Qt::AlignLeft | Qt::AlignVCenter);
        kindLabel->setToolTip(kind);
        kindLabel->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        kindLabel->setGeometry(dateWidth, top, kindWidth, kRowHeight);

        QPushButton* remove = SettingsStyle::removeButton(
            rows, QStringLiteral("휴가 삭제: ") + day.date.toString(Qt::ISODate), 11, 20);
        remove->setProperty("date", day.date);
        remove->setGeometry(rowWidth - 22, top + 2, 20, 20);
        const QDate when = day.date;
        connect(remove, &QPushButton::clicked, this, [this, when] { removeDay(when); });
    }
    if (shown.isEmpty() && !formOpen_) {
        QLabel* hint = SettingsStyle::label(rows, QStringLiteral("다가오는 휴가가 없어요"),
                                            mona(11), mutedInk(), Qt::AlignLeft | Qt::AlignVCenter);
        hint->setGeometry(0, 0, kWidth, kEmptyHeight);
        rows->resize(kWidth, kEmptyHeight);
    }
    scroll_->setWidget(rows);
    const int listHeight =
        heightFor(int(shown.size()), formOpen_) - kListTop - (formOpen_ ? 4 + kFormHeight : 0);
    scroll_->setGeometry(0, kListTop, kWidth, listHeight);
    scroll_->setVisible(listHeight > 0);
    form_->setGeometry(0, kListTop + listHeight + 4, kWidth, kFormHeight);
}

void DaysOffEditor::updateHeight()
{
    const int h = heightFor(int(shownDays().size()), formOpen_);
    const int old = height();
    if (h == old)
        return;
    resize(kWidth, h);
    Q_EMIT heightChanged(h, h - old);
}

bool DaysOffEditor::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool mine = isReturn(key) || key->key() == Qt::Key_Escape;
        if (mine && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && formOpen_) {
            // Accepting the override keeps the window's shortcuts from taking the key; the key
            // press then arrives here.
            event->accept();
            if (type == QEvent::KeyPress) {
                if (isReturn(key))
                    addFromForm();
                else
                    closeForm();
            }
            return type == QEvent::KeyPress;
        }
    }
    return QWidget::eventFilter(watched, event);
}
