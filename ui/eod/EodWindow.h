#pragma once

#include "ui/toolkit/KeyableWindow.h"

#include <functional>
#include <optional>

class ChipButton;
class MascotView;
class PixelImageView;
class ReactiveVFX;

// The prompt's window: its glass surface and the views on it, rebuilt in the colours of the
// moment whenever the light/dark appearance changes.
class EodWindow final : public KeyableWindow
{
    Q_OBJECT
public:
    EodWindow();

    void setAppearance(std::optional<bool> dark);
    void relayout();

    std::function<void()> onLeave;
    std::function<void()> onOvertime;

    MascotView* mascot() const { return mascot_; }
    PixelImageView* title() const { return title_; }
    ChipButton* stayButton() const { return stay_; }
    ChipButton* leaveButton() const { return leave_; }
    double buttonHeight() const { return bh_; }
    int layouts() const { return layouts_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateShape();

    ReactiveVFX* content_;
    std::optional<bool> appearance_;
    MascotView* mascot_ = nullptr;
    PixelImageView* title_ = nullptr;
    ChipButton* stay_ = nullptr;
    ChipButton* leave_ = nullptr;
    double bh_ = 0;
    int layouts_ = 0;
};
