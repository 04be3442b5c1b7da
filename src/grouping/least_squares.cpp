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
  if (points.empty()) return std::nullopt;
  const float sx = sums.sx, sy = sums.sy, sxx = sums.sxx, sxy = sums.sxy;
  const float n = static_cast<float>(points.size());
  const float denominator = n * sxx - sx * sx;
  // All points at one x: no line y = a*x + b fits them.
  if (denominator == 0.0f) return std::nullopt;
  const float a = (n * sxy - sx * sy) / denominator;
  const float b = (sy - a * sx) / n;
  if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;

  const double norm = std::sqrt(static_cast<double>(a) * a + 1.0);

  // Truncating after every addition gives the sum of the truncated
  // distances while no distance lies within 2^-20 of the next integer: the
  // sum stays below 2^31, where a double is exact to 2^-22, so adding the
  // fraction never rounds up to that integer. Without that chain from one
  // addition to the next the distances are measured independently; a
  // distance out of range or that close to an integer takes the step-by-step
  // sum below.
  constexpr double kWholeLimit = 1 << 30;
  constexpr double kLargestFraction = 1.0 - 1.0 / (1 << 20);
  std::int64_t whole = 0;
  bool exact = true;
  for (const Point& p : points) {
    const float offset =
        (static_cast<float>(p.y) + (-a) * static_cast<float>(p.x)) - b;
    const double distance = static_cast<double>(std::fabs(offset)) / norm;
    const bool inRange = distance < kWholeLimit;  // false for NaN
    const std::int32_t truncated =
        inRange ? static_cast<std::int32_t>(distance) : 0;
    exact = exact && inRange &&
            distance - static_cast<double>(truncated) <= kLargestFraction;
    whole += truncated;
  }
  if (exact && whole < INT_MAX - 1) {
    return static_cast<float>(static_cast<int>(whole)) / n;
  }

  int s = 0;  // truncated after every addition
  for (const Point& p : points) {
    const float offset =
        (static_cast<float>(p.y) + (-a) * static_cast<float>(p.x)) - b;
    const double next = static_cast<double>(s) +
                        static_cast<double>(std::fabs(offset)) / norm;
    if (!std::isfinite(next)) return std::nullopt;
    s = clampToInt(next);
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
                        const Customer& seed, detail::Ranking& candidates) {
  std::vector<Point> points;
  appendPoints(seed.oItems, &points);
  const std::size_t seedCount = points.size();
  // Every candidate's sums start with the seed's points, added once here.
  detail::LeastSquaresSums seedSums;
  seedSums.add(points);

  // Compared by integer part; no score (no line) sorts before any score.
  std::vector<std::int64_t> keys;
  keys.reserve(candidates.size());
  for (const detail::Candidate& c : candidates) {
    const std::span<const Point> own = byPosition.of(c.index);
    points.resize(seedCount);
    points.insert(points.end(), own.begin(), own.end());
    detail::LeastSquaresSums sums = seedSums;
    sums.add(own);
    std::optional<float> score = detail::leastSquaresScore(points, sums);
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
