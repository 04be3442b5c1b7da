// Grouping by average walking distance: each cart starts with the largest
// waiting customer, and the others are tried in order of the mean walking
// distance between their lines and that customer's lines.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/point_distances.h"
#include "grouping/ranking_measures.h"
#include "grouping/seed_loading.h"

namespace grouping_customers {

namespace detail {

int averageDistance(std::span<const int> candidatePoints,
                    const std::vector<std::int64_t>& toSeed,
                    std::size_t seedLineCount) {
  const std::int64_t count = static_cast<std::int64_t>(candidatePoints.size()) *
                             static_cast<std::int64_t>(seedLineCount);
  if (count == 0) return 0;
  std::int64_t sum = 0;
  for (int p : candidatePoints) sum += toSeed[static_cast<std::size_t>(p)];
  // Every distance is an int, so their mean is one too.
  return static_cast<int>(sum / count);
}

}  // namespace detail

namespace {

// The point numbers of every customer's lines, in multimap order: customer
// i's are points[starts[i]] up to points[starts[i + 1]].
struct PointsByPosition {
  std::vector<int> points;
  std::vector<std::size_t> starts;

  PointsByPosition(detail::PointDistances& distances,
                   const CustomerMultimap& customers) {
    starts.reserve(customers.size() + 1);
    for (const auto& [key, customer] : customers) {
      starts.push_back(points.size());
      const std::vector<int>& lines = distances.linePoints(customer);
      points.insert(points.end(), lines.begin(), lines.end());
    }
    starts.push_back(points.size());
  }

  std::span<const int> of(std::size_t i) const {
    return std::span<const int>(points).subspan(starts[i],
                                                starts[i + 1] - starts[i]);
  }
};

// Candidates by ascending average distance to the seed; equal averages keep
// the order of the multimap (larger volume first). A candidate's sum over
// its line pairs is the sum, over its lines, of that line's point's summed
// distance to the seed's lines: the same integers, added in another order.
void rankByAverageDistance(detail::PointDistances& distances,
                           const PointsByPosition& byPosition,
                           const Customer& seed,
                           detail::Ranking& candidates) {
  const std::vector<int>& seedPoints = distances.linePoints(seed);
  const std::vector<std::int64_t> toSeed = distances.sumsToLines(seedPoints);
  std::vector<std::int64_t> averages;
  averages.reserve(candidates.size());
  for (const detail::Candidate& c : candidates) {
    averages.push_back(detail::averageDistance(byPosition.of(c.index), toSeed,
                                               seedPoints.size()));
  }
  detail::orderByKeys(candidates, averages);
}

}  // namespace

std::list<Cart> algorithm_AVGDistances(SolverConfiguration& solver,
                                       CartConfiguration& carts,
                                       CustomerMultimap& customers,
                                       Warehouse& /*warehouse*/,
                                       const PlacedProgress& progress) {
  // The oracle holds no state; its static, copy-free form measures each
  // pair of distinct points once.
  detail::PointDistances distances(customers);
  const PointsByPosition byPosition(distances, customers);
  return detail::groupBySeeds(
      solver, carts, customers,
      [&](const Customer& seed, detail::Ranking& candidates) {
        rankByAverageDistance(distances, byPosition, seed, candidates);
      },
      progress);
}

}  // namespace grouping_customers
