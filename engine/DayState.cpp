#include "DayState.h"
