#include <gtest/gtest.h>

#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/ranking_measures.h"
#include "grouping_fixtures.h"

namespace {

using namespace grouping_fixtures;
using grouping_customers::Point;
using grouping_customers::leastSquareMethod;
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
