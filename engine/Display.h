#pragma once

#include "Status.h"

#include <QString>

// Everything the menu bar and the panel show about the day, already in words.
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

    bool operator==(const Display&) const = default;
};

Display buildDisplay(const Status& s);
Display currentDisplay();
