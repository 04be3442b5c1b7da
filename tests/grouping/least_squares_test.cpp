#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/ranking_measures.h"
#include "grouping_fixtures.h"
#include "types.h"

namespace {

using namespace grouping_fixtures;
using grouping_customers::leastSquareMethod;
using grouping_customers::Point;
using grouping_customers::detail::leastSquaresScore;

std::list<Cart> group(CustomerMultimap& customers) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  return leastSquareMethod(s, config, customers);
}

TEST(LeastSquaresTest, ScoreTruncatesTheDeviationSumAfterEveryAddition) {
  // a = 0, b = 10/3: deviations 3.33, 6.67, 3.33 summed as 3, 9, 12.
  std::vector<Point> triangle = {{0, 0}, {10, 10}, {20, 0}};
  EXPECT_EQ(leastSquaresScore(triangle), 4.0f);
  // Any two points at different x lie on a line.
  std::vector<Point> two = {{312, 186}, {774, 218}};
  EXPECT_EQ(leastSquaresScore(two), 0.0f);
  std::vector<Point> line = {{0, 5}, {10, 25}, {20, 45}, {30, 65}};
  EXPECT_EQ(leastSquaresScore(line), 0.0f);
}

// The score as defined: every deviation added to the int sum, which is
// truncated (and clamped) after each addition.
std::optional<float> scoreStepByStep(const std::vector<Point>& points) {
  float sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (const Point& p : points) {
    sx += static_cast<float>(p.x);
    sy += static_cast<float>(p.y);
    sxx += static_cast<float>(std::int64_t{p.x} * p.x);
    sxy += static_cast<float>(std::int64_t{p.x} * p.y);
  }
  const float n = static_cast<float>(points.size());
  const float denominator = n * sxx - sx * sx;
  if (points.empty() || denominator == 0.0f) return std::nullopt;
  const float a = (n * sxy - sx * sy) / denominator;
  const float b = (sy - a * sx) / n;
  if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
  const double norm = std::sqrt(static_cast<double>(a) * a + 1.0);
  int s = 0;
  for (const Point& p : points) {
    const float offset =
        (static_cast<float>(p.y) + (-a) * static_cast<float>(p.x)) - b;
    const double next =
        static_cast<double>(s) + static_cast<double>(std::fabs(offset)) / norm;
    if (!std::isfinite(next)) return std::nullopt;
    s = clampToInt(next);
  }
  return static_cast<float>(s) / n;
}

TEST(LeastSquaresTest, ScoreEqualsTheStepByStepSumOnAnyPoints) {
  std::mt19937 rng(15);
  // Plan-sized coordinates, and coordinates large enough that single
  // deviations exceed 2^30 and the sum reaches the int limit.
  const int spans[] = {50, 3000, 200000, 40000000, 2000000000};
  for (int round = 0; round < 3000; ++round) {
    const int span = spans[round % 5];
    std::uniform_int_distribution<int> coordinate(-span / 2, span / 2);
    std::vector<Point> points(1 + rng() % 60);
    for (Point& p : points) p = {coordinate(rng), coordinate(rng)};
    // Some rounds on few distinct x, or with points on one line.
    if (round % 7 == 0) {
      for (Point& p : points) p.x = p.x % 3;
    }
    if (round % 11 == 0) {
      // x is quartered first so that the line's y stays inside int.
      for (Point& p : points) {
        p.x /= 4;
        p.y = 3 * p.x + 17;
      }
    }
    // Also given as a seed's points followed by a candidate's.
    const std::span<const Point> all(points);
    const std::size_t split = rng() % (points.size() + 1);
    grouping_customers::detail::LeastSquaresSums sums;
    sums.add(all);
    const std::optional<float> expected = scoreStepByStep(points);
    for (const std::optional<float>& actual :
         {leastSquaresScore(points),
          leastSquaresScore(all.first(split), all.subspan(split), sums)}) {
      ASSERT_EQ(actual.has_value(), expected.has_value()) << "round " << round;
      if (expected) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(*actual),
                  std::bit_cast<std::uint32_t>(*expected))
            << "round " << round;
      }
    }
  }
}

// The key of each candidate's score against the seed (the seed's points
// first), computed side by side, equals the score's integer part, or no
// score, on any points: candidates of every number of points up to past the
// largest scored in lanes, deviations near integers and beyond the range the
// lanes decide, points on their line and points without a line.
TEST(LeastSquaresTest, KeysOfCandidatesScoredSideBySideEqualTheirScores) {
  using grouping_customers::detail::Candidate;
  using grouping_customers::detail::kNoScore;
  using grouping_customers::detail::leastSquaresKeys;
  using grouping_customers::detail::PointsByPosition;
  using grouping_customers::detail::widestLanes;
  std::mt19937 rng(1515);
  const int spans[] = {50, 3000, 200000, 40000000, 2000000000};
  std::size_t withoutScore = 0;
  for (int round = 0; round < 150; ++round) {
    const int span = spans[round % 5];
    std::uniform_int_distribution<int> coordinate(-span / 2, span / 2);
    auto randomPoints = [&](std::size_t count) {
      std::vector<Point> points(count);
      for (Point& p : points) p = {coordinate(rng), coordinate(rng)};
      // Some on few distinct x, some on one line with the seed's.
      if (round % 7 == 3) {
        for (Point& p : points) p.x %= 3;
      } else if (round % 11 == 5) {
        for (Point& p : points) {
          p.x /= 4;
          p.y = 3 * p.x + 17;
        }
      }
      return points;
    };
    const std::size_t seedSize = round == 149   ? 4100
                                 : round == 148 ? 0
                                                : 1 + rng() % 20;
    const std::vector<Point> seed = randomPoints(seedSize);
    PointsByPosition byPosition;
    grouping_customers::detail::Ranking candidates;
    const std::size_t count = round >= 148 ? 40 : 400 + rng() % 400;
    for (std::size_t i = 0; i < count; ++i) {
      // Mostly few points, as customers have; now and then more than the
      // lanes take.
      const std::size_t size = rng() % 50 == 0 ? rng() % 80 : rng() % 12;
      byPosition.add(randomPoints(size));
      candidates.push_back({CustomerMultimap::iterator{}, i});
    }
    // A ranking holds the waiting customers in any order.
    std::shuffle(candidates.begin(), candidates.end(), rng);

    std::vector<std::int64_t> expected;
    for (const Candidate& c : candidates) {
      std::vector<Point> all = seed;
      const std::span<const Point> own = byPosition.of(c.index);
      all.insert(all.end(), own.begin(), own.end());
      const std::optional<float> score = scoreStepByStep(all);
      expected.push_back(score ? clampToInt(*score) : kNoScore);
      if (!score) ++withoutScore;
    }
    // Every lane width this processor runs.
    for (std::size_t lanes = 4; lanes <= widestLanes(); lanes *= 2) {
      const std::vector<std::int64_t> keys =
          leastSquaresKeys(seed, byPosition, candidates, lanes);
      ASSERT_EQ(keys.size(), candidates.size());
      for (std::size_t i = 0; i < candidates.size(); ++i) {
        ASSERT_EQ(keys[i], expected[i])
            << "round " << round << ", candidate " << candidates[i].index
            << ", " << lanes << " lanes";
      }
    }
  }
  // The rounds reached candidates without a score.
  EXPECT_GT(withoutScore, 0u);
}

TEST(LeastSquaresTest, PointsWithoutALineHaveNoScore) {
  std::vector<Point> column = {{88, 34}, {88, 68}, {88, 120}};
  EXPECT_EQ(leastSquaresScore(column), std::nullopt);
  std::vector<Point> one = {{5, 5}};
  EXPECT_EQ(leastSquaresScore(one), std::nullopt);
  EXPECT_EQ(leastSquaresScore({}), std::nullopt);
}

TEST(LeastSquaresTest, CandidateWithoutALineIsTriedBeforeScoredOnes) {
  // VCC0001005 and VEE0804005 share x = 88: no line through seed and
  // candidate. The other candidate scores 0 but comes first by volume.
  Customer seed = customer(1, {{10, 7 * 36, 10, 10, 10, "VCC0001005"}});
  Customer scored = customer(2, {{20, 72, 10, 10, 10, "G000502017"}});
  Customer column = customer(3, {{30, 60, 10, 10, 10, "VEE0804005"}});
  ASSERT_EQ(seed.oItems[0].location().x, column.oItems[0].location().x);
  CustomerMultimap customers = wave({seed, scored, column});
  std::list<Cart> carts = group(customers);
  ASSERT_EQ(carts.size(), 2u);
  EXPECT_EQ(customerIds(carts.front()), (std::vector{1, 3}));
  EXPECT_EQ(customerIds(carts.back()), std::vector{2});
  EXPECT_TRUE(customers.empty());
}

TEST(LeastSquaresTest, ScoresWithTheSameIntegerPartCountAsEqual) {
  // Against the seed at G000502017 (312, 186): 2.67 for the larger
  // customer, 2.33 for the smaller one, 0 for the smallest (one line).
  Customer seed = customer(1, {{10, 5 * 36, 10, 10, 10, "G000502017"}});
  Customer larger = customer(2, {{20, 36, 10, 10, 10, "VCC0001005"},
                                 {21, 36, 10, 10, 10, "G000805020"}});
  Customer smaller = customer(3, {{30, 30, 10, 10, 10, "P000101010"},
                                  {31, 30, 10, 10, 10, "G000505022"}});
  Customer straight = customer(4, {{40, 40, 10, 10, 10, "P000101010"}});
  std::vector<Point> larger3 = {{312, 186}, {88, 34}, {388, 226}};
  std::vector<Point> smaller3 = {{312, 186}, {774, 218}, {414, 186}};
  ASSERT_NEAR(*leastSquaresScore(larger3), 2.667f, 1e-3f);
  ASSERT_NEAR(*leastSquaresScore(smaller3), 2.333f, 1e-3f);
  ASSERT_EQ(larger.oItems[1].location().x, 388);
  ASSERT_EQ(smaller.oItems[1].location().x, 414);
  ASSERT_EQ(larger.boxesDecomp.size(), 2u);
  ASSERT_EQ(smaller.boxesDecomp.size(), 2u);
  ASSERT_EQ(straight.boxesDecomp.size(), 2u);

  // Room for four boxes: the score-0 customer, then the larger of the two
  // equal-ranked ones; by raw score the smaller would come second.
  CustomerMultimap customers = wave({seed, larger, smaller, straight});
  std::list<Cart> carts = group(customers);
  ASSERT_EQ(carts.size(), 2u);
  EXPECT_EQ(customerIds(carts.front()), (std::vector{1, 4, 2}));
  EXPECT_EQ(customerIds(carts.back()), std::vector{3});
}

}  // namespace
