#include "Eod.h"
