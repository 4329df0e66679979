#include "Wollu.h"
