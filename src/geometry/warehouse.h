#pragma once

#include "geometry/sector_addr.h"
#include "geometry/waddress.h"

namespace ver2::measuring {
// Straight walk along one line (same yIndex) or across one aisle between two
// facing rows; -1 when no shortcut applies.
int horizontalCorridorSpecialCase_G_V(SECTOR_ADDR_T a, SECTOR_ADDR_T b,
                                      int facingParity);

int getDistanceInSectorG(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceInSectorV(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceInSectorP(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceInSectorGP(SECTOR_ADDR_T a, SECTOR_ADDR_T b);

int getDistanceBetweenSectors_G_V(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceBetweenSectors_G_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceBetweenSectors_G_GP(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceBetweenSectors_V_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceBetweenSectors_V_GP(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
int getDistanceBetweenSectors_GP_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
}  // namespace ver2::measuring

// The distance oracle: walking distance in decimetres between any two plan
// points, symmetric, never negative. Holds no state.
class Warehouse {
 public:
  int getDistanceBetweenAddresses(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
  int getDistanceBetweenAddresses(WAddress a, WAddress b);

  // The same measure without copies, for hot loops.
  static int distance(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
};
