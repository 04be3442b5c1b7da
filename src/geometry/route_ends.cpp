#include "geometry/route_ends.h"

SECTOR_ADDR_T routeStart() {
  SECTOR_ADDR_T start;
  start.sector = "VAA";
  start.x = 300;
  return start;
}

SECTOR_ADDR_T routeEnd() {
  SECTOR_ADDR_T end;
  end.sector = "VAA";
  end.x = 620;
  return end;
}
