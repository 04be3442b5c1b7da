#include "wave/dalvenor_debug.h"

bool is_debug_on = false;
