// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the settings window in a chosen state on the current display, for screenshots:
//   settings-look [--dark] [--expand] [--warn] [--add] [--menu]
// The store is the user's (XDG_CONFIG_HOME), opened read-only; analytics reports nothing.
#include "analytics/Analytics.h"
#include "engine/Store.h"
#include "render/MonaFont.h"
#include "ui/settings/AddWolluWindowController.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/toolkit/EditShortcuts.h"

#include "SettingsControls.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QTimeEdit>
#include <QTimer>

namespace {

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(40, 40, 44));
    p.setColor(QPalette::WindowText, QColor(235, 235, 235));
    p.setColor(QPalette::Base, QColor(30, 30, 33));
    p.setColor(QPalette::Text, QColor(235, 235, 235));
    p.setColor(QPalette::Button, QColor(55, 55, 60));
    p.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (args.contains(QStringLiteral("--dark")))
        app.setPalette(darkPalette());
    registerMonaFont();
    installEditMenu();
    Analytics::setDemoRun();
    Store::standard().setReadOnly(true);

    SettingsWindowController controller;
    QObject::connect(&controller, &SettingsWindowController::closed, &app, &QCoreApplication::quit);
    controller.showCentered();
    if (args.contains(QStringLiteral("--expand")))
        controller.toggleExpand();
    if (args.contains(QStringLiteral("--warn"))) {
        picker(controller, 2)->setTime(QTime(13, 0));
        picker(controller, 3)->setTime(QTime(12, 0));
        controller.saveTapped();
    }
    if (args.contains(QStringLiteral("--menu")))
        QTimer::singleShot(300, &controller, &SettingsWindowController::addTapped);
    if (args.contains(QStringLiteral("--add")))
        QTimer::singleShot(300, &controller, &SettingsWindowController::addManual);
    return app.exec();
}
