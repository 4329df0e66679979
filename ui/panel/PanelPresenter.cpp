// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/PanelPresenter.h"

#include "analytics/Analytics.h"
#include "analytics/Derived.h"
#include "display/Display.h"
#include "engine/Clock.h"
#include "engine/Status.h"
#include "platform/DesktopEvents.h"
#include "ui/panel/OutsideClickMonitor.h"
#include "ui/panel/PanelPlacement.h"
#include "ui/panel/PanelVC.h"
#include "ui/toolkit/GlassPanel.h"

namespace {

// The same click that closed the panel from outside reaches the icon a moment later.
constexpr double kReopenGuardSec = 0.5;

QVariantMap statusProperties(const Status& s)
{
    return {{QStringLiteral("state"), Analytics::Derived::state(s)},
            {QStringLiteral("progress_pct"), Analytics::Derived::progressPct(s)},
            {QStringLiteral("worked_min"), Analytics::Derived::workedMin(s)},
            {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()}};
}

} // namespace

PanelPresenter::PanelPresenter(DesktopEvents* desktop, QObject* parent)
    : QObject(parent), desktop_(desktop)
{
    content_ = new PanelVC;
    connect(content_, &PanelVC::updateRequested, this, &PanelPresenter::updateRequested);
    connect(content_, &PanelVC::heightChanged, this, &PanelPresenter::panelHeightChanged);
    connect(content_, &PanelVC::settingsRequested, this, &PanelPresenter::settingsRequested);
    connect(content_, &PanelVC::closeRequested, this, &PanelPresenter::hidePanel);
    content_->refresh();
    window_.reset(makeGlassPanel(content_, false));
    window_->setWindowTitle(QStringLiteral("톡웍"));

    outsideClicks_ = std::make_unique<OutsideClickMonitor>(desktop_);
    connect(outsideClicks_.get(), &OutsideClickMonitor::outsideClick, this, [this] {
        if (pinned_ || !window_->isVisible())
            return;
        hiddenByOutsideClickAt_ = Clock::now();
        hidePanel();
    });
}

// The window and its content go before the monitor that watches them.
PanelPresenter::~PanelPresenter()
{
    window_.reset();
}

bool PanelPresenter::isShown() const
{
    return window_->isVisible();
}

void PanelPresenter::togglePanel()
{
    if (!pinned_ && window_->isVisible()) {
        hidePanel();
        return;
    }
    if (!pinned_ && Clock::now() - hiddenByOutsideClickAt_ < kReopenGuardSec)
        return;
    showPanel(QStringLiteral("menubar_click"));
}

void PanelPresenter::togglePin()
{
    pinned_ = !pinned_;
    Analytics::track(Analytics::Event::panelPinToggled, {{QStringLiteral("pinned"), pinned_}});
    if (pinned_)
        showPanel(QStringLiteral("pin"));
}

void PanelPresenter::showPanel(const QString& trigger)
{
    if (fullscreenActive()) {
        hidePanel();
        return;
    }
    const bool wasVisible = window_->isVisible();
    refreshPanel();
    placeMainPanelUnderItem();
    window_->show();
    window_->raise();
    outsideClicks_->install();
    if (wasVisible)
        return;
    openedAt_ = Clock::now();
    QVariantMap properties = statusProperties(computeStatus(Clock::now()));
    properties.insert(QStringLiteral("trigger"), trigger);
    properties.insert(QStringLiteral("pinned"), pinned_);
    Analytics::track(Analytics::Event::panelOpened, properties);
}

void PanelPresenter::hidePanel()
{
    const bool wasVisible = window_->isVisible();
    window_->hide();
    outsideClicks_->remove();
    Q_EMIT hidden();
    if (wasVisible && openedAt_) {
        Analytics::track(
            Analytics::Event::panelClosed,
            {{QStringLiteral("dwell_seconds"),
              Analytics::Derived::rounded(Clock::now() - *openedAt_)},
             {QStringLiteral("state"), Analytics::Derived::state(computeStatus(Clock::now()))}});
    }
    openedAt_.reset();
}

void PanelPresenter::refreshPanel()
{
    content_->refresh();
}

void PanelPresenter::panelHeightChanged()
{
    // The content lays itself out once before the window around it exists.
    if (window_)
        placeMainPanelUnderItem();
}

void PanelPresenter::placeMainPanelUnderItem()
{
    const std::optional<QPoint> origin =
        panelOrigin(anchor_, window_->size(), currentPanelScreens());
    if (origin && window_->pos() != *origin)
        window_->move(*origin);
}

bool PanelPresenter::fullscreenActive() const
{
    if (!desktop_)
        return false;
    const QList<PanelScreen> screens = currentPanelScreens();
    std::optional<qsizetype> screen = anchor_ ? screenHolding(*anchor_, screens) : std::nullopt;
    if (!screen)
        screen = anchor_ && !screens.isEmpty() ? 0 : largestScreen(screens);
    return desktop_->fullScreenActive(screen ? screens[*screen].geometry : QRect());
}

void PanelPresenter::spaceChanged()
{
    if (!pinned_)
        return;
    if (fullscreenActive())
        hidePanel();
    else
        showPanel(QStringLiteral("menubar_click"));
}

void PanelPresenter::dayChanged(const Display& display)
{
    if (pinned_ && !window_->isVisible()) {
        showPanel(QStringLiteral("pin"));
    } else if (window_->isVisible()) {
        content_->apply(display);
        placeMainPanelUnderItem();
    }
}

void PanelPresenter::setAppearance(std::optional<bool> dark)
{
    window_->glass()->setAppearance(dark);
    content_->setAppearance(dark);
    if (window_->isVisible())
        refreshPanel();
}
