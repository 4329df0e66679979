// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

// "--demo": four titled, closable windows of fixed days ("근무중", "점심시간", "야근중", "퇴근")
// side by side across the middle of the primary screen, 20 points apart, each with its caption in
// a borderless label window 6 points above it. Closing the four windows ends the application.
class ScriptedDemo final : public QObject
{
    Q_OBJECT
public:
    explicit ScriptedDemo(QObject* parent = nullptr);
    ~ScriptedDemo() override;

    const std::vector<QPointer<QWidget>>& panels() const { return panels_; }
    const std::vector<QPointer<QWidget>>& captions() const { return captions_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> panels_;
    std::vector<QPointer<QWidget>> captions_;
};
