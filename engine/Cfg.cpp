#include "Cfg.h"
