// Grouping by least squares: each cart starts with the largest waiting
// customer, and the others are tried in order of how closely their picks and
// the seed's picks follow one straight line on the plan.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/ranking_measures.h"
#include "grouping/seed_loading.h"
#include "types.h"

namespace grouping_customers {

namespace detail {

void LeastSquaresSums::add(std::span<const Point> points) {
  // Sums in single precision; the products are exact integers first.
  for (const Point& p : points) {
    sx += static_cast<float>(p.x);
    sy += static_cast<float>(p.y);
    sxx += static_cast<float>(std::int64_t{p.x} * p.x);
    sxy += static_cast<float>(std::int64_t{p.x} * p.y);
  }
}

std::optional<float> leastSquaresScore(std::span<const Point> points) {
  LeastSquaresSums sums;
  sums.add(points);
  return leastSquaresScore(points, sums);
}

std::optional<float> leastSquaresScore(std::span<const Point> points,
                                       const LeastSquaresSums& sums) {
  return leastSquaresScore(points, {}, sums);
}

namespace {

// The line's point-to-line distances.
struct LineFit {
  float a;
  float b;
  double norm;     // sqrt(a^2 + 1)
  double inverse;  // 1 / norm, rounded

  double distance(const Point& p) const {
    const float offset =
        (static_cast<float>(p.y) + (-a) * static_cast<float>(p.x)) - b;
    return static_cast<double>(std::fabs(offset)) / norm;
  }
};

// Truncating after every addition gives the sum of the truncated distances
// while no distance lies within 2^-20 of the next integer: the sum stays
// below 2^31, where a double is exact to 2^-22, so adding the fraction never
// rounds up to that integer. Without that chain from one addition to the
// next the distances are measured independently. A distance is first
// estimated with the inverse of the norm, within 2^-51.4 of itself relative,
// so within 2^-31 below 2^20: an estimate at least 2^-28 above its integer
// part and 2^-19 below the next one has the distance's integer part, and a
// distance that far from the next integer. Others are measured as the score
// defines them. Adds the truncated distances to `whole`; false when a
// distance is out of range or that close to an integer.
bool addTruncated(std::span<const Point> points,
                  const LineFit& line,
                  std::int64_t& whole) {
  constexpr double kEstimateLimit = 1 << 20;
  constexpr double kLowestEstimateFraction = 1.0 / (1 << 28);
  constexpr double kLargestEstimateFraction = 1.0 - 1.0 / (1 << 19);
  constexpr double kWholeLimit = 1 << 30;
  constexpr double kLargestFraction = 1.0 - 1.0 / (1 << 20);
  std::int64_t sum = whole;
  for (const Point& p : points) {
    const float offset =
        (static_cast<float>(p.y) + (-line.a) * static_cast<float>(p.x)) -
        line.b;
    const double estimate =
        static_cast<double>(std::fabs(offset)) * line.inverse;
    if (estimate < kEstimateLimit) {  // false for NaN
      const std::int32_t truncated = static_cast<std::int32_t>(estimate);
      const double fraction = estimate - static_cast<double>(truncated);
      if (fraction >= kLowestEstimateFraction &&
          fraction <= kLargestEstimateFraction) {
        sum += truncated;
        continue;
      }
    }
    const double distance = line.distance(p);
    if (!(distance < kWholeLimit)) return false;
    const std::int32_t truncated = static_cast<std::int32_t>(distance);
    if (distance - static_cast<double>(truncated) > kLargestFraction) {
      return false;
    }
    sum += truncated;
  }
  whole = sum;
  return true;
}

}  // namespace

std::optional<float> leastSquaresScore(std::span<const Point> first,
                                       std::span<const Point> second,
                                       const LeastSquaresSums& sums) {
  const std::size_t count = first.size() + second.size();
  if (count == 0) return std::nullopt;
  const float sx = sums.sx, sy = sums.sy, sxx = sums.sxx, sxy = sums.sxy;
  const float n = static_cast<float>(count);
  const float denominator = n * sxx - sx * sx;
  // All points at one x: no line y = a*x + b fits them.
  if (denominator == 0.0f) return std::nullopt;
  const float a = (n * sxy - sx * sy) / denominator;
  const float b = (sy - a * sx) / n;
  if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;

  const double norm = std::sqrt(static_cast<double>(a) * a + 1.0);
  const LineFit line{a, b, norm, 1.0 / norm};
  std::int64_t whole = 0;
  if (addTruncated(first, line, whole) && addTruncated(second, line, whole) &&
      whole < INT_MAX - 1) {
    return static_cast<float>(static_cast<int>(whole)) / n;
  }

  int s = 0;  // truncated after every addition
  for (std::span<const Point> points : {first, second}) {
    for (const Point& p : points) {
      const double next = static_cast<double>(s) + line.distance(p);
      if (!std::isfinite(next)) return std::nullopt;
      s = clampToInt(next);
    }
  }
  return static_cast<float>(s) / n;
}

}  // namespace detail

namespace {

void appendPoints(const std::vector<OItem>& lines, std::vector<Point>* points) {
  for (const OItem& line : lines) {
    const SECTOR_ADDR_T& at = line.location();
    points->push_back({at.x, at.y});
  }
}

// The plan points of every customer's lines, in multimap order: customer
// i's are points[starts[i]] up to points[starts[i + 1]].
struct PointsByPosition {
  std::vector<Point> points;
  std::vector<std::size_t> starts;

  explicit PointsByPosition(const CustomerMultimap& customers) {
    starts.reserve(customers.size() + 1);
    for (const auto& [key, customer] : customers) {
      starts.push_back(points.size());
      appendPoints(customer.oItems, &points);
    }
    starts.push_back(points.size());
  }

  std::span<const Point> of(std::size_t i) const {
    return std::span<const Point>(points).subspan(starts[i],
                                                  starts[i + 1] - starts[i]);
  }
};

void rankByLeastSquares(const PointsByPosition& byPosition,
                        const Customer& seed,
                        detail::Ranking& candidates) {
  std::vector<Point> points;
  appendPoints(seed.oItems, &points);
  // Every candidate's sums start with the seed's points, added once here.
  detail::LeastSquaresSums seedSums;
  seedSums.add(points);

  // Compared by integer part; no score (no line) sorts before any score.
  std::vector<std::int64_t> keys;
  keys.reserve(candidates.size());
  for (const detail::Candidate& c : candidates) {
    const std::span<const Point> own = byPosition.of(c.index);
    detail::LeastSquaresSums sums = seedSums;
    sums.add(own);
    std::optional<float> score = detail::leastSquaresScore(points, own, sums);
    keys.push_back(score ? clampToInt(*score) : std::int64_t{INT_MIN} - 1);
  }
  detail::orderByKeys(candidates, keys);
}

}  // namespace

std::list<Cart> leastSquareMethod(SolverConfiguration& solver,
                                  CartConfiguration& carts,
                                  CustomerMultimap& customers,
                                  const PlacedProgress& progress) {
  const PointsByPosition byPosition(customers);
  return detail::groupBySeeds(
      solver, carts, customers,
      [&byPosition](const Customer& seed, detail::Ranking& candidates) {
        rankByLeastSquares(byPosition, seed, candidates);
      },
      progress);
}

}  // namespace grouping_customers
