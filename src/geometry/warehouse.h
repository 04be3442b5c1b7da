#pragma once

#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/waddress.h"

// A corner of a walk drawn on the plan, decimetres.
struct PlanPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PlanPoint&) const = default;
};

namespace ver2::measuring {
// Straight walk along one line (same yIndex) or across one aisle between two
// facing rows; -1 when no shortcut applies.
int horizontalCorridorSpecialCase_G_V(SECTOR_ADDR_T a,
                                      SECTOR_ADDR_T b,
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

  // The walk that distance(a, b) measures, as the corners of a polyline from
  // a to b (both included, no point twice in a row): along the aisles, cross
  // corridors and exits the measure chose. Where the measure takes a straight
  // shortcut the walk is that straight segment; such a segment along one
  // line counts only its run along x (GP columns 7 and 8 lie 32 further
  // south than columns 1 to 6, and the exits into GP stand on cell 0's
  // line), so there the drawn length exceeds the distance. Unknown sectors,
  // which measure 0, are joined straight.
  static std::vector<PlanPoint> walk(const SECTOR_ADDR_T& a,
                                     const SECTOR_ADDR_T& b);
};
