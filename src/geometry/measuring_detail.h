#pragma once

// Internal to the geometry subsystem, not part of the public surface: the
// measures of ver2::measuring taking their points by const reference, so that
// the oracle's hot path (Warehouse::distance) copies nothing. The public
// by-value functions forward to these.
//
// Each measure is written once, generic over a path sink that hears the
// corners of the walk it measures. The distance path passes NoPath, whose
// calls compile to nothing; Warehouse::walk passes a PathRecorder.
//
// Coordinate differences and sums are formed in 64 bits and narrowed once,
// clamped to the int range, so that no text, however odd its numbers, can
// make the arithmetic overflow. For plan coordinates (a few thousand
// decimetres) the results equal plain int and float arithmetic.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"
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

// The sink of the distance path: hears nothing, costs nothing.
struct NoPath {
  static constexpr bool records = false;
  void to(int, int) {}
  std::size_t mark() const { return 0; }
  void reverseSince(std::size_t) {}
};

// Records the corners of a walk in walking order. Every measure reports its
// whole walk, both end points included, so a walk built of several measures
// repeats the points where they meet; corners() drops those repeats.
class PathRecorder {
 public:
  static constexpr bool records = true;
  void to(int x, int y) { points.push_back({x, y}); }
  std::size_t mark() const { return points.size(); }
  // A measure that ordered its points the other way round than it was given
  // them turns its part of the walk round.
  void reverseSince(std::size_t start) {
    std::reverse(points.begin() + static_cast<std::ptrdiff_t>(start),
                 points.end());
  }
  std::vector<PlanPoint> corners() const;

 private:
  std::vector<PlanPoint> points;
};

// Reports the walk through the given points (plan points or corners).
template <typename Path, typename... Points>
void walkThrough(Path& path, const Points&... points) {
  (path.to(points.x, points.y), ...);
}

// The walk along the first point's row to the cross corridor at x, along it,
// and along the second point's row (sectors V and G).
template <typename Path>
void viaCrossCorridorAtX(Path& path,
                         const SECTOR_ADDR_T& first,
                         const SECTOR_ADDR_T& second,
                         int x) {
  walkThrough(path, first, PlanPoint{x, first.y}, PlanPoint{x, second.y},
              second);
}

// The same through a cross corridor at y (sectors P and GP).
template <typename Path>
void viaCrossCorridorAtY(Path& path,
                         const SECTOR_ADDR_T& first,
                         const SECTOR_ADDR_T& second,
                         int y) {
  walkThrough(path, first, PlanPoint{first.x, y}, PlanPoint{second.x, y},
              second);
}

int horizontalCorridorSpecialCase_G_V(const SECTOR_ADDR_T& a,
                                      const SECTOR_ADDR_T& b,
                                      int facingParity);

// The in-sector measures, once for the distance path and once for the walk
// (both defined in in_sector.cpp), and the distance path again under the
// signature the generic walks between sectors call. Without a sink object
// the distance path stays a plain call the oracle can jump to.
int getDistanceInSectorG(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorV(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorP(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorGP(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b);
int getDistanceInSectorG(const SECTOR_ADDR_T& a,
                         const SECTOR_ADDR_T& b,
                         PathRecorder& path);
int getDistanceInSectorV(const SECTOR_ADDR_T& a,
                         const SECTOR_ADDR_T& b,
                         PathRecorder& path);
int getDistanceInSectorP(const SECTOR_ADDR_T& a,
                         const SECTOR_ADDR_T& b,
                         PathRecorder& path);
int getDistanceInSectorGP(const SECTOR_ADDR_T& a,
                          const SECTOR_ADDR_T& b,
                          PathRecorder& path);
inline int getDistanceInSectorG(const SECTOR_ADDR_T& a,
                                const SECTOR_ADDR_T& b,
                                NoPath&) {
  return getDistanceInSectorG(a, b);
}
inline int getDistanceInSectorV(const SECTOR_ADDR_T& a,
                                const SECTOR_ADDR_T& b,
                                NoPath&) {
  return getDistanceInSectorV(a, b);
}
inline int getDistanceInSectorP(const SECTOR_ADDR_T& a,
                                const SECTOR_ADDR_T& b,
                                NoPath&) {
  return getDistanceInSectorP(a, b);
}
inline int getDistanceInSectorGP(const SECTOR_ADDR_T& a,
                                 const SECTOR_ADDR_T& b,
                                 NoPath&) {
  return getDistanceInSectorGP(a, b);
}

}  // namespace ver2::measuring::detail
