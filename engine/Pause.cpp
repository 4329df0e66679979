#include "Pause.h"
