#pragma once

#include "geometry/sector_addr.h"

// The fixed start and end of every cart route, on the northern line of
// sector V: "VAA" at x 300 and x 620, y 0, every other number 0. Built
// afresh on each call.
SECTOR_ADDR_T routeStart();
SECTOR_ADDR_T routeEnd();
