#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "geometry/waddress.h"
#include "geometry/warehouse.h"
#include "support/address_generator.h"
#include "support/walks.h"

namespace {

using testing_support::drawnLength;

SECTOR_ADDR_T at(const std::string& text) {
  return WAddress(text).point();
}

std::vector<PlanPoint> corners(std::initializer_list<PlanPoint> points) {
  return points;
}

TEST(WalkTest, FollowsTheCorridorsTheWorkedExamplesName) {
  // G, same bay 50..166: the western corridor is shorter (84 < 148).
  EXPECT_EQ(Warehouse::walk(at("G000101010"), at("G000303030")),
            corners({{76, 138}, {50, 138}, {50, 162}, {108, 162}}));
  // P, same block 115..581: north along the cross corridor at 115.
  EXPECT_EQ(Warehouse::walk(at("P000101010"), at("P000201030")),
            corners({{774, 218}, {774, 115}, {808, 115}, {808, 408}}));
  // G to V in bay 1: the eastern corridor at 330 (234 from the route start).
  SECTOR_ADDR_T start;
  start.sector = "VAA";
  start.x = 300;
  EXPECT_EQ(Warehouse::walk(start, at("G000502017")),
            corners({{300, 0}, {330, 0}, {330, 186}, {312, 186}}));
  // G to P through the north exit of G and the north exit of P (636).
  EXPECT_EQ(Warehouse::walk(at("G000502017"), at("P000101010")),
            corners({{312, 186},
                     {585, 186},
                     {585, 130},
                     {585, 115},
                     {754, 115},
                     {774, 115},
                     {774, 218}}));
  // Facing rows: straight across the aisle.
  EXPECT_EQ(Warehouse::walk(at("G000502017"), at("G000602020")),
            corners({{312, 186}, {388, 202}}));
}

TEST(WalkTest, RunsFromTheSecondPointWhenGivenInTheOtherOrder) {
  // The between-sector walks order their points G first; the walk is turned
  // round for a pair given the other way.
  const SECTOR_ADDR_T g = at("G000502017"), p = at("P000101010");
  const SECTOR_ADDR_T gp = at("GP00101005");
  for (auto [a, b] : {std::pair{g, p}, std::pair{g, gp}, std::pair{gp, p}}) {
    std::vector<PlanPoint> there = Warehouse::walk(a, b);
    std::vector<PlanPoint> back = Warehouse::walk(b, a);
    ASSERT_FALSE(there.empty());
    EXPECT_EQ(back, std::vector<PlanPoint>(there.rbegin(), there.rend()));
  }
}

TEST(WalkTest, DrawnLengthEqualsTheDistanceOverRandomPairs) {
  testing_support::AddressGenerator generator(20260316u);
  std::vector<SECTOR_ADDR_T> points;
  for (int i = 0; i < 1500; ++i) points.push_back(at(generator.next()));

  std::mt19937 pick(5u);
  std::uniform_int_distribution<std::size_t> index(0, points.size() - 1);
  int checked = 0, alongLine = 0;
  for (int i = 0; i < 20000; ++i) {
    const SECTOR_ADDR_T& a = points[index(pick)];
    const SECTOR_ADDR_T& b = points[index(pick)];
    std::vector<PlanPoint> walk = Warehouse::walk(a, b);
    ASSERT_FALSE(walk.empty());
    ASSERT_EQ(walk.front(), (PlanPoint{a.x, a.y})) << a.sector;
    ASSERT_EQ(walk.back(), (PlanPoint{b.x, b.y})) << b.sector;
    ASSERT_TRUE(testing_support::drawnLengthMatches(a, b, walk))
        << a.sector << " (" << a.x << ", " << a.y << ") to " << b.sector << " ("
        << b.x << ", " << b.y << "): drawn " << drawnLength(walk)
        << ", distance " << Warehouse::distance(a, b);
    ++checked;
    if (testing_support::countsOnlyAlongLine(a, b)) ++alongLine;
  }
  // The exception stays the exception.
  EXPECT_GT(alongLine, 0);
  EXPECT_LT(alongLine, checked / 20);
}

TEST(WalkTest, AStraightRunAlongOneLineCountsOnlyItsXDifference) {
  // GP columns 7 and 8 lie 32 south of columns 1 to 6: cell 5 of columns 6
  // and 7 share a line for the model, which counts 24, not the drawn 40.
  const SECTOR_ADDR_T a = at("GP00601005"), b = at("GP00701005");
  EXPECT_EQ(b.y - a.y, 32);
  EXPECT_EQ(Warehouse::distance(a, b), 24);
  EXPECT_EQ(Warehouse::walk(a, b), corners({{a.x, a.y}, {b.x, b.y}}));
}

TEST(WalkTest, SamePointIsAWalkOfOneCorner) {
  const SECTOR_ADDR_T a = at("VCC0001005");
  EXPECT_EQ(Warehouse::walk(a, a), corners({{88, 34}}));
}

}  // namespace
