#include "MenuBarImage.h"
