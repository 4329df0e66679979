// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RunningApps.h"
#include "ui/settings/InfoBlock.h"
#include "ui/settings/SettingsSave.h"

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class AddWolluWindowController;
class ChipButton;
class DaysOffEditor;
class EditableTextField;
class GlassWindow;
class QAction;
class QCheckBox;
class QComboBox;

class QPushButton;
class QTimeEdit;
class QWidget;

// The settings window: working hours, lunch, the monthly salary (in 만원) and whether it is
// before tax, four switches, the user's days off and the distraction list. Edits stay in the window
// until "저장" (Return) validates and writes them; "취소" (Escape) writes nothing. The controls and
// the working list keep what the user left in them for as long as the controller lives.
class SettingsWindowController final : public QObject
{
    Q_OBJECT
public:
    static constexpr int W = 256;

    // `infoLines` gives the information block's lines beyond its fixed ones, asked at every
    // layout (none without it).
    explicit SettingsWindowController(InfoBlock::LinesProvider infoLines = {},
                                      QObject* parent = nullptr);
    ~SettingsWindowController() override;

    GlassWindow* window() const;
    // Centres the window on the screen, shows it in front and gives it the keyboard.
    void showCentered();
    // Shows the window in front with the keyboard, its top-left corner at `topLeft`.
    void showAt(const QPoint& topLeft);
    // Hides the window and deletes the controller, at once or, while the add dialog runs, as
    // soon as it has been cancelled and has returned.
    void dispose();

    // The window's height with `entries` rows shown (the empty-list hint when 0 and expanded),
    // before any warning line and without the days-off list (its height and 8 come on top). Rows
    // beyond what the screen can hold scroll instead. `infoLines` is the number of lines the
    // information block has beyond its fixed ones.
    static int heightFor(bool expanded, int entries, int infoLines);
    static constexpr int kWarningHeight = 24;
    static constexpr int kRowHeight = 32;

    const QStringList& apps() const { return apps_; }
    bool expanded() const { return expanded_; }
    const std::optional<QString>& warningText() const { return warningText_; }
    // What "저장" would save now (salary as typed; validation not applied).
    SettingsForm form() const;

    // ---- actions ----
    void saveTapped();
    void cancelTapped();
    void toggleExpand();
    void addTapped();
    void addFromMenu(QAction* item);
    void addManual();
    void deleteApp(const QString& entry);

    // The controls carry object names, by which tests and accessibility tools find them:
    // "workStart", "workEnd", "lunchStart", "lunchEnd" (the time pickers), "salary",
    // "salaryType", "pretaxTag", "skipDaysOff", "slackingOff", "analytics", "daysOff",
    // "disclosure", "addDistraction" and "runningApps" (the menu "+ 추가" opened last).

Q_SIGNALS:
    // The form passed validation and is about to be written.
    void aboutToStore();
    // Everything was written; the application recomputes its day.
    void saved();
    // The window was closed (saved, cancelled or closed by the window manager).
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPersistent();
    void fillFromStores();
    void relayout();
    void buildRow(QWidget* parent, const QString& entry, int index, qreal dpr,
                  const QList<RunningApp>& running);
    // Rows the window can show on its screen before the list scrolls.
    int rowCapacity(int infoLines) const;
    void closeWindow();
    void trackDistractionAdded(const QString& name, const QString& source);
    std::optional<qint64> salaryWon(QString* problem) const;

    InfoBlock::LinesProvider infoLines_;
    std::unique_ptr<GlassWindow> window_;
    std::array<QTimeEdit*, 4> pickers_{};
    EditableTextField* salaryField_ = nullptr;
    QComboBox* salaryTypePopup_ = nullptr;
    QCheckBox* pretaxTagCheck_ = nullptr;
    QCheckBox* weekendCheck_ = nullptr;
    QCheckBox* wolluOffCheck_ = nullptr;
    QCheckBox* analyticsCheck_ = nullptr;
    DaysOffEditor* daysOffEditor_ = nullptr;
    QPushButton* disclosureBtn_ = nullptr;
    QPushButton* addBtn_ = nullptr;
    ChipButton* saveBtn_ = nullptr;
    ChipButton* cancelBtn_ = nullptr;
    QPointer<QMenu> addMenu_;
    QList<QWidget*> transient_; // rebuilt by every relayout

    QStringList apps_;
    bool expanded_ = false;
    std::optional<QString> warningText_;
    // The salary as stored when the field was filled, and the text it was shown as: while the
    // field still reads that text, the stored won are kept exactly (the field shows whole 만원).
    qint64 filledSalaryWon_ = 0;
    QString filledSalaryText_;

    bool inDialog_ = false;
    bool disposeWhenIdle_ = false;
    QPointer<AddWolluWindowController> dialog_;
    bool salaryListJustClosed_ = false; // the 세전/세후 list closed during this event
};
