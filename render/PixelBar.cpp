#include "PixelBar.h"
