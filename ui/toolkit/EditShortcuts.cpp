#include "EditShortcuts.h"
