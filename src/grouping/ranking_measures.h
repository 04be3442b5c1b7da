#pragma once

// The measures by which the seed-based groupings rank a waiting customer
// against a cart's first customer. Internal to the grouping algorithms.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "grouping/grouping_customers.h"

namespace grouping_customers::detail {

// Mean walking distance (decimetres) over every pair of a candidate line and
// a seed line, given the candidate's point numbers and, for every point, its
// summed distance to the seed's lines (as PointDistances::sumsToLines
// gives); the sum is kept in 64 bits and the mean truncated toward zero. 0
// when either side has no lines.
int averageDistance(std::span<const int> candidatePoints,
                    const std::vector<std::int64_t>& toSeed,
                    std::size_t seedLineCount);

// Mean distance of the points from their least-squares line y = a*x + b,
// with the sums, slope and intercept in single precision and the deviation
// sum truncated to an int after every addition. Empty when no such line
// exists (no points, or all points at one x) or any step is not
// finite; such a candidate ranks ahead of every scored one.
std::optional<float> leastSquaresScore(std::span<const Point> points);

// The single-precision sums of the least-squares fit, added point by point
// in order; sums of a common first part are added once and carried on.
struct LeastSquaresSums {
  float sx = 0, sy = 0, sxx = 0, sxy = 0;
  void add(std::span<const Point> points);
};

// The same score with the sums of exactly these points, in this order,
// given.
std::optional<float> leastSquaresScore(std::span<const Point> points,
                                       const LeastSquaresSums& sums);

// The score of the points of `first` followed by those of `second`, with
// their sums given.
std::optional<float> leastSquaresScore(std::span<const Point> first,
                                       std::span<const Point> second,
                                       const LeastSquaresSums& sums);

}  // namespace grouping_customers::detail
