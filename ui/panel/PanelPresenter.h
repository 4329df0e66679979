// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class DesktopEvents;
class GlassPanel;
class OutsideClickMonitor;
class PanelVC;
struct Display;

// The panel under the status item: its window, where it stands, whether it is pinned open and
// what closes it (a click elsewhere, a full-screen window in front on its screen). The
// application tells it where the icon was clicked and hands it each recomputed day; it reports
// the panel's openings and closings.
class PanelPresenter final : public QObject
{
    Q_OBJECT
public:
    // `desktop` reports presses and full-screen windows; it stays the caller's and outlives this.
    explicit PanelPresenter(DesktopEvents* desktop, QObject* parent = nullptr);
    ~PanelPresenter() override;

    GlassPanel* window() const { return window_.get(); }
    PanelVC* content() const { return content_; }
    bool pinned() const { return pinned_; }
    bool isShown() const;

    // Where the status item was clicked (its host's rectangle or point); none where it cannot say.
    void setAnchor(const std::optional<QRect>& anchor) { anchor_ = anchor; }

    // A click on the status item: closes an unpinned open panel, else opens it, unless the same
    // click has just closed it from outside.
    void togglePanel();
    void togglePin();
    void showPanel(const QString& trigger);
    void hidePanel();
    void refreshPanel();
    // The content's height may have changed: the window follows its size by itself, and its
    // place depends on the height.
    void panelHeightChanged();
    void placeMainPanelUnderItem();
    // Whether a window fills the screen the panel belongs on.
    bool fullscreenActive() const;
    // The desktop changed what is in front: a pinned panel gives way to a full-screen window and
    // comes back after it.
    void spaceChanged();
    // The recomputed day: a pinned panel that was hidden opens again, a shown one shows it.
    void dayChanged(const Display& display);
    void setAppearance(std::optional<bool> dark);

Q_SIGNALS:
    // hidePanel() ran: what stands beside the panel (the settings window) goes with it.
    void hidden();
    // The panel's content asks for the day to be recomputed, or for the settings beside it.
    void updateRequested();
    void settingsRequested();

private:
    DesktopEvents* desktop_;
    std::unique_ptr<GlassPanel> window_;
    PanelVC* content_ = nullptr; // owned by window_
    std::unique_ptr<OutsideClickMonitor> outsideClicks_;
    bool pinned_ = false;
    std::optional<double> openedAt_;
    std::optional<QRect> anchor_;
    // A press outside closes the panel before the same click reaches the icon: that click must
    // not open it again.
    double hiddenByOutsideClickAt_ = 0;
};
