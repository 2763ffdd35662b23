// State of the rain's random source (see random.h).
#include "rain/random.h"

uint32_t randomState = 1;
