#include "Dinner.h"
