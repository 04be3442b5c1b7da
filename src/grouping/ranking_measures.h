#pragma once

// The measures by which the seed-based groupings rank a waiting customer
// against a cart's first customer. Internal to the grouping algorithms.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/seed_loading.h"

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

// What one point adds to the single-precision sums of the least-squares
// fit; the products are exact integers first.
struct PointTerms {
  float x, y, xx, xy;

  static PointTerms of(const Point& p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y),
            static_cast<float>(std::int64_t{p.x} * p.x),
            static_cast<float>(std::int64_t{p.x} * p.y)};
  }
};

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

// The plan points of customers by position, with the single-precision terms
// each adds to the least-squares sums: customer i's lines' points, in line
// order, are of(i), and their terms termsOf(i).
class PointsByPosition {
 public:
  // Adds the next customer's points.
  void add(std::span<const Point> points);

  std::span<const Point> of(std::size_t i) const {
    return std::span<const Point>(points_).subspan(starts_[i],
                                                   starts_[i + 1] - starts_[i]);
  }

  std::span<const PointTerms> termsOf(std::size_t i) const {
    return std::span<const PointTerms>(terms_).subspan(
        starts_[i], starts_[i + 1] - starts_[i]);
  }

 private:
  std::vector<Point> points_;
  std::vector<PointTerms> terms_;
  std::vector<std::size_t> starts_{0};
};

// The key by which a candidate ranks against a seed: the integer part of the
// least-squares score of the seed's points followed by the candidate's, or
// kNoScore (ahead of every score) when they have no score.
inline constexpr std::int64_t kNoScore = std::int64_t{INT_MIN} - 1;

// The most candidates this processor scores side by side: 8 with AVX2,
// else 4.
std::size_t widestLanes();

// Those keys of every candidate, in the candidates' order. The candidates
// are scored side by side, `lanes` (8 where widestLanes allows, else 4)
// with the same number of points at once, each with the arithmetic of
// leastSquaresScore: any width gives the same keys.
std::vector<std::int64_t> leastSquaresKeys(std::span<const Point> seed,
                                           const PointsByPosition& byPosition,
                                           const Ranking& candidates,
                                           std::size_t lanes = widestLanes());

}  // namespace grouping_customers::detail
