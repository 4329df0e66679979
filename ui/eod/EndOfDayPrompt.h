// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class EodWindowController;

// Asks once what happens with the rest of the day, "left" or "overtime", stores the answer as
// today's end-of-day choice and reports the showing and the answer. The prompt does not block its
// caller: the answer arrives later, and only one prompt is open at a time.
class EndOfDayPrompt final : public QObject
{
    Q_OBJECT
public:
    explicit EndOfDayPrompt(QObject* parent = nullptr);
    ~EndOfDayPrompt() override;

    // Opens the prompt unless one is open already (then false). `source` is "auto_prompt" when
    // the day reached overtime unanswered, "menu_rechoose" from the menu.
    bool askEndOfDay(const QString& source = QStringLiteral("auto_prompt"));
    // askEndOfDay, then waits for the answer; the choice, or none when a prompt was already open.
    std::optional<QString> askAndWait(const QString& source = QStringLiteral("auto_prompt"));

    bool isOpen() const;
    EodWindowController* controller() const { return controller_.get(); }

    // Light or dark regardless of the desktop (screenshots), and whether opening it brings the
    // application to the front (previews do not).
    // An open prompt is redrawn at once.
    void setAppearance(std::optional<bool> dark);
    void setActivates(bool activates) { activates_ = activates; }

Q_SIGNALS:
    void opened();
    // The answer is stored: "left" or "overtime".
    void chosen(const QString& choice);

private:
    void answer(bool leaving, const QString& source, qint64 workedMin, qint64 overtimeMin);

    std::unique_ptr<EodWindowController> controller_;
    std::optional<bool> appearance_;
    bool activates_ = true;
};
