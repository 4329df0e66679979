#pragma once

#include <QString>

// The end-of-day answer: "left" or "overtime", and the day it was given.
namespace Eod {

void choose(const QString& choice);
bool chosenToday();
bool leftToday();

} // namespace Eod
