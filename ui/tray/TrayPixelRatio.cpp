#include "ui/tray/TrayPixelRatio.h"

#include <QGuiApplication>
#include <QScreen>

double trayPixelRatio()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}
