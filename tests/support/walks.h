#pragma once

// Checks of drawn walks against the distance oracle, shared by the geometry
// and report tests.

#include <cmath>
#include <cstddef>
#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"

namespace testing_support {

inline double drawnLength(const std::vector<PlanPoint>& corners) {
  double length = 0;
  for (std::size_t i = 1; i < corners.size(); ++i) {
    length += std::hypot(corners[i].x - corners[i - 1].x,
                         corners[i].y - corners[i - 1].y);
  }
  return length;
}

// Whether the walk from a to b takes the straight run along one line (equal
// yIndex) between points whose y differ, which the model counts by the x
// difference alone: GP cells of one number in columns 1-6 and 7-8, and GP
// cell 0 seen from G or P, whose ways in stand on cell 0's line.
inline bool countsOnlyAlongLine(const SECTOR_ADDR_T& a,
                                const SECTOR_ADDR_T& b) {
  auto isGP = [](const SECTOR_ADDR_T& p) { return p.sector.starts_with("GP"); };
  if (isGP(a) && isGP(b)) return a.yIndex == b.yIndex && a.y != b.y;
  if (isGP(a) != isGP(b)) {
    const SECTOR_ADDR_T& gp = isGP(a) ? a : b;
    const SECTOR_ADDR_T& other = isGP(a) ? b : a;
    return gp.yIndex == 0 && other.sector[0] != 'V';
  }
  return false;
}

// The drawn length of the walk matches the distance within 1 dm per segment
// (each straight diagonal is truncated once), except where the model counts
// only the run along a line; there the drawing is never shorter.
inline bool drawnLengthMatches(const SECTOR_ADDR_T& a,
                               const SECTOR_ADDR_T& b,
                               const std::vector<PlanPoint>& corners) {
  const double drawn = drawnLength(corners);
  const double distance = Warehouse::distance(a, b);
  const double tolerance = corners.empty() ? 0.0 : corners.size() - 1.0;
  if (countsOnlyAlongLine(a, b)) return drawn >= distance - tolerance;
  return std::abs(drawn - distance) <= tolerance;
}

}  // namespace testing_support
