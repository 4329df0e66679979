#include "Art.h"
