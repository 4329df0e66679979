// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class ChipButton;
class CenteredTextField;
class GlassWindow;
class MascotView;
class QEventLoop;

// The small modal dialog in which a distraction is typed by name or address. Made for one use:
// run() shows it and returns what was typed when "추가" was pressed, none when cancelled.
class AddWolluWindowController final : public QObject
{
    Q_OBJECT
public:
    static constexpr int W = 256;
    static constexpr int H = 270;

    explicit AddWolluWindowController(QObject* parent = nullptr);
    ~AddWolluWindowController() override;

    std::optional<QString> run();
    void addTapped();
    void cancelTapped();

    GlassWindow* window() const;
    // Its text field carries the object name "entry".
    // The example in the field's placeholder.
    static QString placeholder();

    // The dialog inside run() at this moment, if any (tests drive it through its controls).
    static AddWolluWindowController* running();
    // Test hook, like a message box's next answer: the next run() returns `typed` at once (none
    // for a cancel) without showing anything.
    static void answerNextRun(std::optional<QString> typed);

private:
    void relayout();
    void stop(std::optional<QString> result);

    std::unique_ptr<GlassWindow> window_;
    CenteredTextField* field_ = nullptr;
    ChipButton* addBtn_ = nullptr;
    ChipButton* cancelBtn_ = nullptr;
    MascotView* picture_ = nullptr;
    QList<QWidget*> transient_;
    QEventLoop* loop_ = nullptr;
    std::optional<QString> result_;
};
