// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsPreview.h"

#include "engine/Store.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/toolkit/GlassWindow.h"

#include <QApplication>
#include <QTimer>

int runSettingsPreview(bool openAdd)
{
    Store& store = Store::standard();
    const bool wasReadOnly = store.readOnly();
    SettingsWindowController controller;
    QObject::connect(&controller, &SettingsWindowController::aboutToStore,
                     [&store] { store.setReadOnly(false); });
    QObject::connect(&controller, &SettingsWindowController::saved, [&store, wasReadOnly] {
        store.flush();
        store.setReadOnly(wasReadOnly);
    });
    // Saved or cancelled, the preview has shown what it is for.
    QObject::connect(&controller, &SettingsWindowController::closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    controller.showCentered();
    if (openAdd)
        QTimer::singleShot(300, &controller, &SettingsWindowController::addManual);
    return QApplication::exec();
}
