#include "Holidays.h"
