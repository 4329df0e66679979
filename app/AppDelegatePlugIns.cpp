// Where the later parts of the application plug into the frame: each of these is called in its
// place by the start-up sequence, update() and the timers, and none of their results is used.

#include "AppDelegate.h"

// Until the demo windows exist, "--demo" must not leave an invisible process behind.
bool AppDelegate::runDemo()
{
    return false;
}

void AppDelegate::registerLoginItem()
{}

void AppDelegate::buildPanelWindow()
{}

void AppDelegate::registerSystemObservers()
{}

void AppDelegate::pollWollu()
{}

// Must return only once the user has answered; until the prompt exists nothing is asked.
void AppDelegate::askEndOfDay(const QString&)
{}

void AppDelegate::trackStateTransition(const Status&)
{}

void AppDelegate::showPanel(const QString&)
{}

void AppDelegate::refreshPanel()
{}

void AppDelegate::placeMainPanelUnderItem()
{}

bool AppDelegate::panelVisible() const
{
    return panelWindow && panelWindow->isVisible();
}
