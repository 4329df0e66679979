// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <optional>

class EodWindow;

// The end-of-day question in a small frameless window: the napping ant, "오늘 여기까지?", and
// two answers, "야근할게요" (Escape, or the window manager closing the window) and "퇴근!"
// (Return). Closed because the application quits (the menu, a signal, the end of the session),
// it answers nothing, so the question comes again at the next start. The window is modal for the
// application and floats above other windows on every desktop; the application's timers keep
// running while it is open.
class EodWindowController final : public QObject
{
    Q_OBJECT
public:
    static constexpr int W = 256;
    static constexpr int H = 232;

    explicit EodWindowController(QObject* parent = nullptr);
    ~EodWindowController() override;

    // Light or dark regardless of the desktop (screenshots); none follows the desktop.
    void setAppearance(std::optional<bool> dark);
    // Previews leave the application in front alone.
    void setActivates(bool activates) { activates_ = activates; }

    // Centres the window on the screen under the pointer and shows it; answered() follows.
    void show();

    bool leaving() const { return leaving_; }
    bool isOpen() const;
    EodWindow* window() const;

    void leaveTapped();
    void overtimeTapped();

Q_SIGNALS:
    void answered(bool leaving);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(bool leaving);

    QPointer<EodWindow> window_;
    bool leaving_ = false;
    bool answered_ = false;
    bool activates_ = true;
    bool quitting_ = false; // the application is closing its windows to quit
};
