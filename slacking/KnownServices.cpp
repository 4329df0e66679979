#include "KnownServices.h"
