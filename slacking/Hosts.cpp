#include "Hosts.h"
