// Grouping by least squares: each cart starts with the largest waiting
// customer, and the others are tried in order of how closely their picks and
// the seed's picks follow one straight line on the plan.

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/ranking_measures.h"
#include "grouping/seed_loading.h"
#include "types.h"

namespace grouping_customers {

namespace detail {

void LeastSquaresSums::add(std::span<const Point> points) {
  for (const Point& p : points) {
    const PointTerms terms = PointTerms::of(p);
    sx += terms.x;
    sy += terms.y;
    sxx += terms.xx;
    sxy += terms.xy;
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
    terms_.push_back(PointTerms::of(p));
  }
  starts_.push_back(points_.size());
}

namespace {

std::int64_t keyOfScore(const std::optional<float>& score) {
  return score ? clampToInt(*score) : kNoScore;
}

// Candidates scored side by side, one per lane of a vector of 4 lanes (16
// bytes, which every x86-64 processor runs) or of 8 lanes (32 bytes, on
// processors with AVX2). Each lane computes what a scalar would, so the
// width changes no key.
using Floats4 = float __attribute__((vector_size(16)));
using Ints4 = std::int32_t __attribute__((vector_size(16)));
using Floats8 = float __attribute__((vector_size(32)));
using Ints8 = std::int32_t __attribute__((vector_size(32)));
// Candidates of more points are scored one by one.
constexpr std::size_t kMostLanePoints = 64;
// And so are all candidates of a seed of more points: with fewer points,
// the integer parts (below 2^19 each) sum to less than INT_MAX - 1.
constexpr std::size_t kMostLaneSeedPoints = 4000;

// The lines of candidates with the same number of points, one per lane, and
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
// Lane comparisons give -1 (all bits set) where true, 0 where false.
template <typename FloatLanes, typename IntLanes>
struct Lanes {
  FloatLanes a;
  FloatLanes b;
  FloatLanes inverse;
  IntLanes whole;
  IntLanes undecided;  // 0 while every deviation is decided

  // The lines of `n` points with these sums in each lane; `norms` sets the
  // square roots of the lanes' squared slopes plus 1.
  template <typename Norms>
  [[gnu::always_inline]] Lanes(float n,
                               const FloatLanes& sx,
                               const FloatLanes& sy,
                               const FloatLanes& sxx,
                               const FloatLanes& sxy,
                               Norms norms) {
    const FloatLanes denominator = n * sxx - sx * sx;
    a = (n * sxy - sx * sy) / denominator;
    b = (sy - a * sx) / n;
    const IntLanes usable = (denominator != 0.0f) & (a <= 0x1p60f) &
                            (a >= -0x1p60f) & (b <= FLT_MAX) & (b >= -FLT_MAX);
    FloatLanes norm;
    norms(a * a + 1.0f, norm);
    inverse = 1.0f / norm;
    whole = IntLanes{};
    undecided = usable + 1;
  }

  // Adds the deviation of one point per lane.
  [[gnu::always_inline]] void add(const FloatLanes& x, const FloatLanes& y) {
    const FloatLanes offset = (y + (-a) * x) - b;
    // The offset with its sign bit cleared.
    const FloatLanes estimate =
        reinterpret_cast<FloatLanes>(reinterpret_cast<IntLanes>(offset) &
                                     0x7fffffff) *
        inverse;
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

// The candidates to score in lanes: positions in the ranking grouped by the
// candidate's number of points, those with `points` points from
// byGroup[groupStarts[points]] up to byGroup[groupStarts[points + 1]].
struct LaneWork {
  std::span<const Point> seed;
  LeastSquaresSums seedSums;
  const PointsByPosition& byPosition;
  const Ranking& candidates;
  std::vector<std::size_t> groupStarts;
  std::vector<std::size_t> byGroup;
  std::vector<std::int64_t>& keys;
};

// Scores the candidates of work in lanes I..., writing their keys.
template <typename FloatLanes, typename IntLanes, std::size_t... I>
[[gnu::always_inline]] inline void scoreInLanes(const LaneWork& work,
                                                std::index_sequence<I...>) {
  constexpr std::size_t kLanes = sizeof...(I);
  using Lanes = detail::Lanes<FloatLanes, IntLanes>;
  const std::span<const Point> seed = work.seed;
  const LeastSquaresSums& seedSums = work.seedSums;
  auto norms = [](const FloatLanes& squares, FloatLanes& roots) {
    roots = FloatLanes{std::sqrt(squares[I])...};
  };
  // Lanes kept in memory are copied in and out, as floats (where a vector
  // of 8 lanes may lack its alignment).
  auto load = [](const std::vector<float>& from, std::size_t k,
                 FloatLanes& lanes) {
    std::memcpy(&lanes, &from[k * kLanes], sizeof lanes);
  };
  auto store = [](const FloatLanes& lanes, std::vector<float>& to,
                  std::size_t k) {
    std::memcpy(&to[k * kLanes], &lanes, sizeof lanes);
  };
  // Each seed point in every lane.
  std::vector<float> seedX(seed.size() * kLanes), seedY(seed.size() * kLanes);
  for (std::size_t s = 0; s < seed.size(); ++s) {
    store(FloatLanes{} + static_cast<float>(seed[s].x), seedX, s);
    store(FloatLanes{} + static_cast<float>(seed[s].y), seedY, s);
  }
  std::vector<float> ownX, ownY;
  for (std::size_t points = 0; points <= kMostLanePoints; ++points) {
    const std::size_t count = seed.size() + points;
    const std::size_t end = work.groupStarts[points + 1];
    ownX.resize(points * kLanes);
    ownY.resize(points * kLanes);
    for (std::size_t first = work.groupStarts[points]; first < end;
         first += kLanes) {
      const std::size_t used = std::min(kLanes, end - first);
      // Lanes past the last candidate repeat the first one.
      const PointTerms* own[kLanes];
      for (std::size_t j = 0; j < kLanes; ++j) {
        const std::size_t i = work.byGroup[first + (j < used ? j : 0)];
        own[j] = work.byPosition.termsOf(work.candidates[i].index).data();
      }
      // Every lane's sums: the seed's, then the candidate's points in order.
      FloatLanes sx = FloatLanes{} + seedSums.sx;
      FloatLanes sy = FloatLanes{} + seedSums.sy;
      FloatLanes sxx = FloatLanes{} + seedSums.sxx;
      FloatLanes sxy = FloatLanes{} + seedSums.sxy;
      for (std::size_t k = 0; k < points; ++k) {
        const FloatLanes x{own[I][k].x...};
        const FloatLanes y{own[I][k].y...};
        sx += x;
        sy += y;
        sxx += FloatLanes{own[I][k].xx...};
        sxy += FloatLanes{own[I][k].xy...};
        store(x, ownX, k);
        store(y, ownY, k);
      }
      Lanes lanes(static_cast<float>(count), sx, sy, sxx, sxy, norms);
      FloatLanes x, y;
      for (std::size_t k = 0; k < points; ++k) {
        load(ownX, k, x);
        load(ownY, k, y);
        lanes.add(x, y);
      }
      for (std::size_t s = 0; s < seed.size(); ++s) {
        load(seedX, s, x);
        load(seedY, s, y);
        lanes.add(x, y);
      }
      // With every deviation decided, the score's sum is that of their
      // integer parts.
      for (std::size_t j = 0; j < used; ++j) {
        const std::size_t i = work.byGroup[first + j];
        if (lanes.undecided[j] == 0) {
          work.keys[i] = clampToInt(static_cast<float>(lanes.whole[j]) /
                                    static_cast<float>(count));
        } else {
          work.keys[i] = keyOfScore(leastSquaresScore(
              seed, work.byPosition.of(work.candidates[i].index),
              {sx[j], sy[j], sxx[j], sxy[j]}));
        }
      }
    }
  }
}

void scoreIn4Lanes(const LaneWork& work) {
  scoreInLanes<Floats4, Ints4>(work, std::make_index_sequence<4>());
}

#if defined(__x86_64__)
// AVX2 alone: with fused multiply-add the offsets would round otherwise.
[[gnu::target("avx2")]] void scoreIn8Lanes(const LaneWork& work) {
  scoreInLanes<Floats8, Ints8>(work, std::make_index_sequence<8>());
}
#endif

}  // namespace

std::size_t widestLanes() {
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return 8;
#endif
  return 4;
}

std::vector<std::int64_t> leastSquaresKeys(std::span<const Point> seed,
                                           const PointsByPosition& byPosition,
                                           const Ranking& candidates,
                                           std::size_t lanes) {
  std::vector<std::int64_t> keys(candidates.size());
  // Every candidate's sums start with the seed's points, added once here.
  LaneWork work{seed, {}, byPosition, candidates, {}, {}, keys};
  work.seedSums.add(seed);

  // Group kMostLanePoints + 1 holds the candidates scored one by one.
  const bool lanesFit = seed.size() <= kMostLaneSeedPoints;
  auto groupOf = [&](const Candidate& c) {
    return lanesFit
               ? std::min(byPosition.of(c.index).size(), kMostLanePoints + 1)
               : kMostLanePoints + 1;
  };
  std::vector<std::size_t>& groupStarts = work.groupStarts;
  groupStarts.assign(kMostLanePoints + 3, 0);
  for (const Candidate& c : candidates) ++groupStarts[groupOf(c) + 1];
  for (std::size_t g = 1; g < groupStarts.size(); ++g) {
    groupStarts[g] += groupStarts[g - 1];
  }
  std::vector<std::size_t>& byGroup = work.byGroup;
  byGroup.resize(candidates.size());
  {
    std::vector<std::size_t> next(groupStarts.begin(), groupStarts.end() - 1);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      byGroup[next[groupOf(candidates[i])]++] = i;
    }
  }

#if defined(__x86_64__)
  if (lanes == 8 && widestLanes() == 8) {
    scoreIn8Lanes(work);
  } else {
    scoreIn4Lanes(work);
  }
#else
  scoreIn4Lanes(work);
#endif
  for (std::size_t g = groupStarts[kMostLanePoints + 1]; g < byGroup.size();
       ++g) {
    const std::size_t i = byGroup[g];
    const std::span<const Point> own = byPosition.of(candidates[i].index);
    LeastSquaresSums sums = work.seedSums;
    sums.add(own);
    keys[i] = keyOfScore(leastSquaresScore(seed, own, sums));
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
