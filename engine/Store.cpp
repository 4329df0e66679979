#include "Store.h"
