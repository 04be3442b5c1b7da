#pragma once

// Internal to the geometry subsystem, not part of the public surface: the
// measures of ver2::measuring taking their points by const reference, so that
// the oracle's hot path (Warehouse::distance) copies nothing. The public
// by-value functions forward to these.
//
// Coordinate differences and sums are formed in 64 bits and narrowed once,
// clamped to the int range, so that no text, however odd its numbers, can
// make the arithmetic overflow. For plan coordinates (a few thousand
// decimetres) the results equal plain int and float arithmetic.

#include <climits>
#include <cmath>
#include <cstdint>

#include "geometry/sector_addr.h"
#include "types.h"

namespace ver2::measuring::detail {

using Wide = std::int64_t;

inline Wide absDiff(int a, int b) {
  Wide d = Wide{a} - Wide{b};
  return d < 0 ? -d : d;
}

// |dx| + |dy| of two points, in 64 bits.
inline Wide orthogonal(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  return absDiff(a.x, b.x) + absDiff(a.y, b.y);
}

// Straight-line distance: squares of the integer differences and the root
// in double precision, narrowed to float. The differences are formed in
// double, which is exact for any two ints.
inline float euclidean(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  double dx = static_cast<double>(a.x) - static_cast<double>(b.x);
  double dy = static_cast<double>(a.y) - static_cast<double>(b.y);
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

// A 64-bit sum back to int, clamped to the int range.
inline int narrow(Wide value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int horizontalCorridorSpecialCase_G_V(const SECTOR_ADDR_T& a,
                                      const SECTOR_ADDR_T& b,
                                      int facingParity);
int getDistanceInSectorG(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorV(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorP(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorGP(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);

int getDistanceBetweenSectors_G_V(const SECTOR_ADDR_T& a,
                                  const SECTOR_ADDR_T& b);
int getDistanceBetweenSectors_G_P(const SECTOR_ADDR_T& a,
                                  const SECTOR_ADDR_T& b);
int getDistanceBetweenSectors_G_GP(const SECTOR_ADDR_T& a,
                                   const SECTOR_ADDR_T& b);
int getDistanceBetweenSectors_V_P(const SECTOR_ADDR_T& a,
                                  const SECTOR_ADDR_T& b);
int getDistanceBetweenSectors_V_GP(const SECTOR_ADDR_T& a,
                                   const SECTOR_ADDR_T& b);
int getDistanceBetweenSectors_GP_P(const SECTOR_ADDR_T& a,
                                   const SECTOR_ADDR_T& b);

}  // namespace ver2::measuring::detail
