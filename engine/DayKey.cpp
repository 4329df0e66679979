#include "DayKey.h"
