#include "TextImage.h"
