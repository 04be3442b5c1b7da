#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "geometry/sector_addr.h"

// Leg lengths in decimetres between every ordered pair of a set of plan
// points and a route's fixed start and end. The points are numbered
// 0 .. pointCount() - 1 in the order given; start() and end() are the two
// numbers after them. Each leg is measured from the point walked from, as
// the distance oracle is not relied on to be symmetric.
//
//   DistanceMatrix legs(points, routeStart(), routeEnd());
//   int walk = legs.leg(legs.start(), 0) + legs.leg(0, legs.end());
class DistanceMatrix {
 public:
  DistanceMatrix(std::span<const SECTOR_ADDR_T> points,
                 const SECTOR_ADDR_T& start,
                 const SECTOR_ADDR_T& end);

  // A matrix of given legs, row by row (from, to) over pointCount + 2
  // numbers: the points, then start and end. Throws std::invalid_argument
  // when the table has the wrong size or a negative leg.
  static DistanceMatrix fromLegs(int pointCount, std::vector<int> legs);

  int pointCount() const { return static_cast<int>(size_) - 2; }
  int start() const { return pointCount(); }
  int end() const { return pointCount() + 1; }

  int leg(int from, int to) const {
    return legs_[static_cast<std::size_t>(from) * size_ +
                 static_cast<std::size_t>(to)];
  }

 private:
  DistanceMatrix(std::size_t size, std::vector<int> legs)
      : size_(size), legs_(std::move(legs)) {}

  std::size_t size_;  // pointCount + 2
  std::vector<int> legs_;
};
