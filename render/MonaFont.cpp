#include "MonaFont.h"
