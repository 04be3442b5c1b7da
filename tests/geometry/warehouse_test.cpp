#include "geometry/warehouse.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "geometry/waddress.h"
#include "support/address_generator.h"

namespace {

SECTOR_ADDR_T at(const std::string& text) {
  return WAddress(text).getWarehouseWAddress();
}

// The fixed start and end of every cart route: sector "VAA", y 0.
SECTOR_ADDR_T routePoint(int x) {
  SECTOR_ADDR_T p;
  p.sector = "VAA";
  p.x = x;
  return p;
}

struct BetweenExample {
  SECTOR_ADDR_T a;
  SECTOR_ADDR_T b;
  int expected;
  const char* route;
};

std::vector<BetweenExample> workedExamples() {
  return {
      {at("G000502017"), at("VCC0001005"), 376, "G-V, different bays"},
      {at("G000101010"), at("VCC0001005"), 272, "G-V, bay 0, corridor 166"},
      {at("G000001010"), at("VEE0001012"), 147, "G row 0 faces V row E"},
      {at("G000502017"), at("P000101010"), 636, "G-P via the north exit"},
      {at("G000502017"), at("GP00101005"), 1016, "G-GP via the lower exit"},
      {at("VCC0001005"), at("P000101010"), 870, "V-P orthogonal"},
      {at("GP00101005"), at("P000101010"), 452, "GP-P through exits"},
      {routePoint(300), routePoint(620), 320, "route start to end"},
      {routePoint(300), at("G000502017"), 234, "route start to G"},
  };
}

TEST(WarehouseTest, WorkedExamplesMeasureExactlyInBothOrders) {
  Warehouse warehouse;
  for (const BetweenExample& e : workedExamples()) {
    SCOPED_TRACE(e.route);
    EXPECT_EQ(warehouse.getDistanceBetweenAddresses(e.a, e.b), e.expected);
    EXPECT_EQ(warehouse.getDistanceBetweenAddresses(e.b, e.a), e.expected);
    EXPECT_EQ(Warehouse::distance(e.a, e.b), e.expected);
    EXPECT_EQ(Warehouse::distance(e.b, e.a), e.expected);
  }
}

TEST(WarehouseTest, WorkedExamplesHaveTheListedCoordinates) {
  const SECTOR_ADDR_T g = at("G000001010");
  EXPECT_EQ(g.x, 76);
  EXPECT_EQ(g.y, 130);
  const SECTOR_ADDR_T v = at("VEE0001012");
  EXPECT_EQ(v.x, 210);
  EXPECT_EQ(v.y, 68);
  EXPECT_EQ(v.yIndex, 4);
  const SECTOR_ADDR_T c = at("VCC0001005");
  EXPECT_EQ(c.x, 88);
  EXPECT_EQ(c.y, 34);
}

TEST(WarehouseTest, BetweenSectorFunctionsGiveTheWorkedResults) {
  using namespace ver2::measuring;
  const SECTOR_ADDR_T g = at("G000502017");
  const SECTOR_ADDR_T v = at("VCC0001005");
  const SECTOR_ADDR_T p = at("P000101010");
  const SECTOR_ADDR_T gp = at("GP00101005");
  EXPECT_EQ(getDistanceBetweenSectors_G_V(g, v), 376);
  EXPECT_EQ(getDistanceBetweenSectors_G_V(v, g), 376);
  EXPECT_EQ(getDistanceBetweenSectors_G_P(g, p), 636);
  EXPECT_EQ(getDistanceBetweenSectors_G_P(p, g), 636);
  EXPECT_EQ(getDistanceBetweenSectors_G_GP(g, gp), 1016);
  EXPECT_EQ(getDistanceBetweenSectors_G_GP(gp, g), 1016);
  EXPECT_EQ(getDistanceBetweenSectors_V_P(v, p), 870);
  EXPECT_EQ(getDistanceBetweenSectors_V_P(p, v), 870);
  EXPECT_EQ(getDistanceBetweenSectors_V_GP(v, gp), 503 + 295);
  EXPECT_EQ(getDistanceBetweenSectors_V_GP(gp, v), 503 + 295);
  EXPECT_EQ(getDistanceBetweenSectors_GP_P(gp, p), 452);
  EXPECT_EQ(getDistanceBetweenSectors_GP_P(p, gp), 452);
}

TEST(WarehouseTest, WAddressOverloadMeasuresTheResolvedPoints) {
  Warehouse warehouse;
  EXPECT_EQ(warehouse.getDistanceBetweenAddresses(WAddress("G000502017"),
                                                  WAddress("GP00101005")),
            1016);
  EXPECT_EQ(warehouse.getDistanceBetweenAddresses(WAddress("VBB0001050"),
                                                  WAddress("VCC0001005")),
            134);
}

TEST(WarehouseTest, GAndGPAreDifferentSectorsAlthoughBothBeginWithG) {
  // In-sector G would give a short walk; the lower exit route is taken.
  const SECTOR_ADDR_T g = at("G000502017");
  const SECTOR_ADDR_T gp = at("GP00101005");
  EXPECT_EQ(Warehouse::distance(g, gp),
            ver2::measuring::getDistanceBetweenSectors_G_GP(g, gp));
  EXPECT_NE(Warehouse::distance(g, gp),
            ver2::measuring::getDistanceInSectorG(g, gp));
}

TEST(WarehouseTest, GToGPAlwaysPassesTheLowerExit) {
  // G row 0 (76, 130), in the far north: 506 + 496 to (582, 626), then 306.
  EXPECT_EQ(Warehouse::distance(at("G000001010"), at("GP00101005")), 1308);
}

TEST(WarehouseTest, GToVUsesCorridor166InTheFirstBayAnd455InTheLast) {
  // (61, 138) and (62, 34): the corridor at 50 would give 127.
  EXPECT_EQ(Warehouse::distance(at("G000101001"), at("VCC0001003")), 313);
  // (549, 178) and (566, 34): the corridor at 572 would give 173.
  EXPECT_EQ(Warehouse::distance(at("G000401030"), at("VCC0001035")), 349);
}

TEST(WarehouseTest, GRowZeroFacesOnlyVRowE) {
  EXPECT_EQ(Warehouse::distance(at("G000001010"), at("VEE0001012")), 147);
  // V row D (44, 62): both in bay 0, corridor 166: 122 + 90 + 68.
  EXPECT_EQ(Warehouse::distance(at("G000001010"), at("VDD0001012")), 280);
  // G row 1 with V row E is not straight either: 134 + 70.
  EXPECT_EQ(Warehouse::distance(at("G000101010"), at("VEE0001012")), 204);
}

TEST(WarehouseTest, GToPTakesTheShorterOfTheTwoExitsOfG) {
  // (479, 610) to (970, 693): the lower exit and P_south_exit win.
  EXPECT_EQ(Warehouse::distance(at("G004001200"), at("P000801060")), 784);
  // East of 572 the walk to the north exit goes back to the corridor:
  // (3 + 13) + 48, then 184 to P_north_exit and 123 to the target.
  EXPECT_EQ(Warehouse::distance(at("G000401032"), at("P000101010")), 371);
}

TEST(WarehouseTest, UnknownSectorMeasuresZeroToEveryPoint) {
  const SECTOR_ADDR_T unknown = at("X000502017");
  for (const char* text : {"G000502017", "VCC0001005", "P000101010",
                           "GP00101005", "X000101010", "Q"}) {
    SECTOR_ADDR_T other = at(text);
    EXPECT_EQ(Warehouse::distance(unknown, other), 0) << text;
    EXPECT_EQ(Warehouse::distance(other, unknown), 0) << text;
  }
  EXPECT_EQ(Warehouse::distance(SECTOR_ADDR_T{}, at("G000502017")), 0);
}

TEST(WarehouseTest, DistanceIsSymmetricAndNonNegativeOverRandomPairs) {
  testing_support::AddressGenerator generator(20260207u);
  std::vector<SECTOR_ADDR_T> points = {routePoint(300), routePoint(620)};
  for (int i = 0; i < 2000; ++i) points.push_back(at(generator.next()));

  std::mt19937 pick(7u);
  std::uniform_int_distribution<std::size_t> index(0, points.size() - 1);
  int sectorPairs[4][4] = {};
  auto kind = [](const SECTOR_ADDR_T& p) {
    if (p.sector.starts_with("GP")) return 3;
    return p.sector[0] == 'G' ? 0 : p.sector[0] == 'V' ? 1 : 2;
  };
  Warehouse warehouse;
  for (int i = 0; i < 20000; ++i) {
    const SECTOR_ADDR_T& a = points[index(pick)];
    const SECTOR_ADDR_T& b = points[index(pick)];
    int ab = warehouse.getDistanceBetweenAddresses(a, b);
    int ba = warehouse.getDistanceBetweenAddresses(b, a);
    ASSERT_EQ(ab, ba) << a.sector << " (" << a.x << ", " << a.y << ") and "
                      << b.sector << " (" << b.x << ", " << b.y << ")";
    ASSERT_GE(ab, 0);
    ASSERT_EQ(Warehouse::distance(a, b), ab);
    ++sectorPairs[kind(a)][kind(b)];
  }
  // Every combination of sectors took part.
  for (auto& row : sectorPairs) {
    for (int count : row) EXPECT_GT(count, 100);
  }
}

TEST(WarehouseTest, SamePointMeasuresZeroInEverySector) {
  testing_support::AddressGenerator generator(11u);
  for (int i = 0; i < 500; ++i) {
    SECTOR_ADDR_T a = at(generator.next());
    EXPECT_EQ(Warehouse::distance(a, a), 0) << a.sector;
  }
}

}  // namespace
