// Grouping by least squares: each cart starts with the largest waiting
// customer, and the others are tried in order of how closely their picks and
// the seed's picks follow one straight line on the plan.

#include <algorithm>
#include <cfloat>
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

// The least-squares line of `count` points with these sums; empty when
// they have none (no points, all points at one x, or a slope or intercept
// that is not finite).
std::optional<LineFit> fitLine(std::size_t count,
                               const LeastSquaresSums& sums) {
  if (count == 0) return std::nullopt;
  const float sx = sums.sx, sy = sums.sy, sxx = sums.sxx, sxy = sums.sxy;
  const float n = static_cast<float>(count);
  const float denominator = n * sxx - sx * sx;
  if (denominator == 0.0f) return std::nullopt;
  const float a = (n * sxy - sx * sy) / denominator;
  const float b = (sy - a * sx) / n;
  if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
  const double norm = std::sqrt(static_cast<double>(a) * a + 1.0);
  return LineFit{a, b, norm, 1.0 / norm};
}

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
  const std::optional<LineFit> fitted = fitLine(count, sums);
  if (!fitted) return std::nullopt;
  const LineFit& line = *fitted;
  const float n = static_cast<float>(count);
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

void PointsByPosition::add(std::span<const Point> points) {
  for (const Point& p : points) {
    points_.push_back(p);
    terms_.push_back({static_cast<float>(p.x), static_cast<float>(p.y),
                      static_cast<float>(std::int64_t{p.x} * p.x),
                      static_cast<float>(std::int64_t{p.x} * p.y)});
  }
  starts_.push_back(points_.size());
}

namespace {

std::int64_t keyOfScore(const std::optional<float>& score) {
  return score ? clampToInt(*score) : kNoScore;
}

// Candidates scored side by side, one per lane of a 16-byte vector (the
// code below fills the four lanes by name).
constexpr std::size_t kLanes = 4;
using FloatLanes = float __attribute__((vector_size(kLanes * sizeof(float))));
using IntLanes =
    std::int32_t __attribute__((vector_size(kLanes * sizeof(std::int32_t))));
// Candidates of more points are scored one by one.
constexpr std::size_t kMostLanePoints = 64;
// And so are all candidates of a seed of more points: with fewer points,
// the integer parts (below 2^19 each) sum to less than INT_MAX - 1.
constexpr std::size_t kMostLaneSeedPoints = 4000;

// Lanes of IEEE values with the sign cleared.
FloatLanes magnitudeOf(const FloatLanes& values) {
  return reinterpret_cast<FloatLanes>(reinterpret_cast<IntLanes>(values) &
                                      0x7fffffff);
}

// The lines of up to kLanes candidates with the same number of points, and
// the sums of their deviations' integer parts so far. A lane's slope and
// intercept are the score's (see fitLine), from the same sums. Its inverse
// of the norm is computed in single precision, within 2^-22 of the score's
// relative for a slope up to 2^60, and so is each deviation's estimate f
// from the offset the score computes: with the product's rounding, f lies
// within 2^-21 * f + 2^-100 of the score's estimate e, for f below 2^19.
// Where f's fraction stays at least 2^-20 * f + 2^-26 above 0 and 2^-20 * f
// + 2^-17 below 1 (with the rounding of those bounds, still more than that
// error plus 2^-28 and 2^-19), e has f's integer part and a fraction at
// which the score takes e's integer part (see addTruncated). So does an
// offset of 0, whose distance is 0. A lane with another deviation, or
// without such a line, is scored in full.
struct Lanes {
  FloatLanes a;
  FloatLanes b;
  FloatLanes inverse;
  IntLanes whole;
  IntLanes undecided;  // 0 while every deviation is decided

  // The lines of `n` points with these sums in each lane.
  Lanes(float n,
        const FloatLanes& sx,
        const FloatLanes& sy,
        const FloatLanes& sxx,
        const FloatLanes& sxy) {
    // Comparisons give -1 (all bits set) where true, 0 where false.
    const FloatLanes denominator = n * sxx - sx * sx;
    a = (n * sxy - sx * sy) / denominator;
    b = (sy - a * sx) / n;
    const IntLanes usable = (denominator != 0.0f) &
                            (magnitudeOf(a) <= 0x1p60f) &
                            (magnitudeOf(b) <= FLT_MAX);
    const FloatLanes square = a * a + 1.0f;
    inverse = 1.0f / FloatLanes{std::sqrt(square[0]), std::sqrt(square[1]),
                                std::sqrt(square[2]), std::sqrt(square[3])};
    whole = IntLanes{};
    undecided = usable + 1;
  }

  // Adds the deviation of one point per lane.
  void add(const FloatLanes& x, const FloatLanes& y) {
    const FloatLanes offset = (y + (-a) * x) - b;
    const FloatLanes estimate = magnitudeOf(offset) * inverse;
    // 0 where out of range (also for NaN).
    const IntLanes inRange = estimate < 0x1p19f;
    const FloatLanes bounded = reinterpret_cast<FloatLanes>(
        reinterpret_cast<IntLanes>(estimate) & inRange);
    const IntLanes truncated = __builtin_convertvector(bounded, IntLanes);
    const FloatLanes fraction =
        bounded - __builtin_convertvector(truncated, FloatLanes);
    // Out of range, the fraction 0 lies below the lower bound.
    const FloatLanes margin = bounded * 0x1p-20f;
    const IntLanes decided = ((fraction >= margin + 0x1p-26f) &
                              (fraction <= 1.0f - (margin + 0x1p-17f))) |
                             (offset == 0.0f);
    whole += truncated;
    undecided += decided + 1;
  }
};

}  // namespace

std::vector<std::int64_t> leastSquaresKeys(std::span<const Point> seed,
                                           const PointsByPosition& byPosition,
                                           const Ranking& candidates) {
  // Every candidate's sums start with the seed's points, added once here.
  LeastSquaresSums seedSums;
  seedSums.add(seed);
  std::vector<std::int64_t> keys(candidates.size());

  // Positions in the ranking grouped by the candidate's number of points;
  // group kMostLanePoints + 1 holds those of more.
  const bool lanesFit = seed.size() <= kMostLaneSeedPoints;
  auto groupOf = [&](const Candidate& c) {
    return lanesFit
               ? std::min(byPosition.of(c.index).size(), kMostLanePoints + 1)
               : kMostLanePoints + 1;
  };
  std::vector<std::size_t> groupStarts(kMostLanePoints + 3, 0);
  for (const Candidate& c : candidates) ++groupStarts[groupOf(c) + 1];
  for (std::size_t g = 1; g < groupStarts.size(); ++g) {
    groupStarts[g] += groupStarts[g - 1];
  }
  std::vector<std::size_t> byGroup(candidates.size());
  {
    std::vector<std::size_t> next(groupStarts.begin(), groupStarts.end() - 1);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      byGroup[next[groupOf(candidates[i])]++] = i;
    }
  }

  // Each seed point in every lane.
  std::vector<FloatLanes> seedX(seed.size()), seedY(seed.size());
  for (std::size_t s = 0; s < seed.size(); ++s) {
    seedX[s] = FloatLanes{} + static_cast<float>(seed[s].x);
    seedY[s] = FloatLanes{} + static_cast<float>(seed[s].y);
  }
  std::vector<FloatLanes> ownX, ownY;
  for (std::size_t points = 0; points <= kMostLanePoints; ++points) {
    const std::size_t count = seed.size() + points;
    ownX.resize(points);
    ownY.resize(points);
    for (std::size_t first = groupStarts[points];
         first < groupStarts[points + 1]; first += kLanes) {
      const std::size_t used =
          std::min(kLanes, groupStarts[points + 1] - first);
      // Lanes past the last candidate repeat the first one.
      const PointsByPosition::Terms* own[kLanes];
      for (std::size_t j = 0; j < kLanes; ++j) {
        const std::size_t i = byGroup[first + (j < used ? j : 0)];
        own[j] = byPosition.termsOf(candidates[i].index).data();
      }
      // Every lane's sums: the seed's, then the candidate's points in order.
      FloatLanes sx = FloatLanes{} + seedSums.sx;
      FloatLanes sy = FloatLanes{} + seedSums.sy;
      FloatLanes sxx = FloatLanes{} + seedSums.sxx;
      FloatLanes sxy = FloatLanes{} + seedSums.sxy;
      for (std::size_t k = 0; k < points; ++k) {
        const PointsByPosition::Terms &t0 = own[0][k], &t1 = own[1][k],
                                      &t2 = own[2][k], &t3 = own[3][k];
        ownX[k] = FloatLanes{t0.x, t1.x, t2.x, t3.x};
        ownY[k] = FloatLanes{t0.y, t1.y, t2.y, t3.y};
        sx += ownX[k];
        sy += ownY[k];
        sxx += FloatLanes{t0.xx, t1.xx, t2.xx, t3.xx};
        sxy += FloatLanes{t0.xy, t1.xy, t2.xy, t3.xy};
      }
      Lanes lanes(static_cast<float>(count), sx, sy, sxx, sxy);
      for (std::size_t k = 0; k < points; ++k) lanes.add(ownX[k], ownY[k]);
      for (std::size_t s = 0; s < seed.size(); ++s) {
        lanes.add(seedX[s], seedY[s]);
      }
      // With every deviation decided, the score's sum is that of their
      // integer parts.
      for (std::size_t j = 0; j < used; ++j) {
        const std::size_t i = byGroup[first + j];
        if (lanes.undecided[j] == 0) {
          keys[i] = clampToInt(static_cast<float>(lanes.whole[j]) /
                               static_cast<float>(count));
        } else {
          keys[i] = keyOfScore(
              leastSquaresScore(seed, byPosition.of(candidates[i].index),
                                {sx[j], sy[j], sxx[j], sxy[j]}));
        }
      }
    }
  }
  for (std::size_t g = groupStarts[kMostLanePoints + 1]; g < byGroup.size();
       ++g) {
    const std::size_t i = byGroup[g];
    const std::span<const Point> own = byPosition.of(candidates[i].index);
    LeastSquaresSums lane = seedSums;
    lane.add(own);
    keys[i] = keyOfScore(leastSquaresScore(seed, own, lane));
  }
  return keys;
}

}  // namespace detail

namespace {

std::vector<Point> pointsOf(const Customer& customer) {
  std::vector<Point> points;
  points.reserve(customer.oItems.size());
  for (const OItem& line : customer.oItems) {
    const SECTOR_ADDR_T& at = line.location();
    points.push_back({at.x, at.y});
  }
  return points;
}

}  // namespace

std::list<Cart> leastSquareMethod(SolverConfiguration& solver,
                                  CartConfiguration& carts,
                                  CustomerMultimap& customers,
                                  const PlacedProgress& progress) {
  detail::PointsByPosition byPosition;
  for (const auto& [key, customer] : customers) {
    byPosition.add(pointsOf(customer));
  }
  return detail::groupBySeeds(
      solver, carts, customers,
      [&byPosition](const Customer& seed, detail::Ranking& candidates) {
        const std::vector<Point> points = pointsOf(seed);
        // Compared by integer part; no score (no line) sorts before any.
        detail::orderByKeys(candidates, detail::leastSquaresKeys(
                                            points, byPosition, candidates));
      },
      progress);
}

}  // namespace grouping_customers
