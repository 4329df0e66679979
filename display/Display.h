// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Status.h"

#include <QString>

// Everything the menu bar and the panel show about the day, already in words.
// Qt's <QGuiApplication>, built for X11, also declares Xlib's connection type as a global
// `Display`: a file that uses the day's view reaches the application through QCoreApplication, and
// headers that GUI entry points include keep this one out (forward-declared parts, pimpl).
struct Display
{
    Status status;
    QString mascot; // "home", "ant_work", "ant_lunch" or "ant_over"
    QString title;
    QString mood;
    QString workedText;
    QString earnedText;
    QString remainWorkText;
    QString remainText;
    bool showMoney = false;
    QString wolluText;
    QString wolluMoneyText;
    QString wolluPctText;
    bool wolluHot = false;
    // The slacking figures are shown: tracking is on and not hidden behind the eye button.
    bool wolluShown = false;
    // Today's whole pay so far, overtime included, for the tray's tooltip; empty without a
    // salary or on an unpaid day off. "(세전)279,859원 벌었어요"
    QString totalText;

    bool operator==(const Display&) const = default;
};

Display buildDisplay(const Status& s);
Display currentDisplay();
