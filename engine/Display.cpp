#include "Display.h"
