// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DaysOff.h"

#include <QList>
#include <QWidget>

#include <optional>

class ChipButton;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

// The user's own days off in the settings window: a short dated list from today on (연차, 오전 or
// 오후 반차, a company holiday with its note), a form to add one (date, kind, note) and a button
// to remove each. Like every other field of the window it edits a working copy: store() writes
// what changed through DaysOff when the window saves, so "취소" writes nothing, and an entry the
// terminal companion added meanwhile is kept. Its height follows the list; heightChanged() says so.
class DaysOffEditor final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 224;
    static constexpr int kHeaderHeight = 26;
    static constexpr int kRowHeight = 24;
    static constexpr int kEmptyHeight = 20; // the hint shown without a day to come
    static constexpr int kFormHeight = 64;  // date and kind, then note and the two buttons
    static constexpr int kVisibleRows = 5;  // more scroll inside the list
    static constexpr int kNoteMaxLength = 40;

    // The kinds the form offers, in its order.
    enum class Kind
    {
        annualLeave,   // 연차
        morningOff,    // 오전 반차
        afternoonOff,  // 오후 반차
        companyHoliday // 회사 휴무 (its note names it)
    };

    explicit DaysOffEditor(QWidget* parent = nullptr);
    ~DaysOffEditor() override;

    // The height for `rows` days to come, with or without the form open.
    static int heightFor(int rows, bool adding);

    // The working copy, in date order (days gone by included; only days to come are shown).
    const QList<DayOff>& days() const { return days_; }
    QList<DayOff> shownDays() const;
    bool hasChanges() const { return days_ != stored_; }
    // Throws away the working copy and reads the store again.
    void reload();
    // Writes the differences from the list last read (adds, replacements and removals) and
    // reads the store again; false when they did not reach the file (a read-only or unreadable
    // store keeps them in memory, as it does every other setting).
    bool store();

    // Light or dark for the texts and controls; call restyle() afterwards. Called while the
    // colours are pinned (the settings window's layout), restyle() takes the pin instead.
    void setAppearance(bool dark) { dark_ = dark; }
    // Draws everything again in the current (pinned) appearance.
    void restyle();

    // ---- actions ----
    void openForm();
    void closeForm();
    // Adds what the form holds (replacing an entry of the same date) and closes it; false when
    // the date is not valid.
    bool addFromForm();
    void removeDay(const QDate& date);

    // ---- controls ----
    bool formOpen() const { return formOpen_; }
    QPushButton* addButton() const { return addBtn_; }
    // The form's fields carry object names: "dayOffDate", "dayOffKind", "dayOffNote".
    // The remove button of the entry on `date`, when it is shown.
    QPushButton* removeButton(const QDate& date) const;

    // What an entry reads as in its row: "연차", "오후 반차", "창립기념일", "오전 반차 · 병원".
    static QString kindText(const DayOff& day);
    // The entry the form's choices make.
    static DayOff entryFor(const QDate& date, Kind kind, const QString& note);

Q_SIGNALS:
    // The editor's height changed to `height` (by `delta`): lay out what lies below it again.
    void heightChanged(int height, int delta);
    // The working copy changed.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildRows();
    void hideForm();
    void updateHeight();
    void styleControls();

    QList<DayOff> days_;
    QList<DayOff> stored_;
    bool formOpen_ = false;
    std::optional<bool> dark_;

    QLabel* title_ = nullptr;
    QPushButton* addBtn_ = nullptr;
    QWidget* rows_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* form_ = nullptr;
    QDateEdit* dateField_ = nullptr;
    QComboBox* kindPopup_ = nullptr;
    QLineEdit* noteField_ = nullptr;
    ChipButton* confirmBtn_ = nullptr;
    ChipButton* cancelBtn_ = nullptr;
};
