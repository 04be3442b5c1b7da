#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/straight_distances.h"
#include "geometry/waddress.h"
#include "geometry/warehouse.h"

namespace {

using Measure = int (*)(SECTOR_ADDR_T, SECTOR_ADDR_T);

SECTOR_ADDR_T at(const std::string& text) {
  return WAddress(text).getWarehouseWAddress();
}

// A bare point for the measures, which read only x, y and yIndex.
SECTOR_ADDR_T point(int x, int y, int yIndex) {
  SECTOR_ADDR_T p;
  p.x = x;
  p.y = y;
  p.yIndex = yIndex;
  return p;
}

struct InSectorExample {
  const char* sector;
  const char* a;
  int ax, ay;
  const char* b;
  int bx, by;
  int expected;
};

Measure measureOf(const std::string& sector) {
  if (sector == "G") return ver2::measuring::getDistanceInSectorG;
  if (sector == "V") return ver2::measuring::getDistanceInSectorV;
  if (sector == "P") return ver2::measuring::getDistanceInSectorP;
  return ver2::measuring::getDistanceInSectorGP;
}

TEST(InSectorTest, WorkedExamplesMeasureExactlyInBothOrders) {
  const InSectorExample examples[] = {
      {"G", "G000502017", 312, 186, "G000601020", 388, 202, 77},
      {"G", "G000502017", 312, 186, "G000501005", 125, 186, 187},
      {"G", "G000101010", 76, 138, "G000301030", 108, 162, 108},
      {"G", "G000101100", 251, 138, "G000301120", 283, 162, 150},
      {"G", "G000101010", 76, 138, "G000401020", 388, 178, 352},
      {"V", "VAA0001010", 131, 0, "VBB0001050", 94, 28, 46},
      {"V", "VBB0001050", 94, 28, "VCC0001005", 88, 34, 134},
      {"P", "P000101010", 774, 218, "P000201030", 808, 408, 430},
      {"GP", "GP00101005", 591, 329, "GP00201005", 615, 329, 24},
      {"GP", "GP00101005", 591, 329, "GP00401006", 645, 342, 55},
      {"GP", "GP00101007", 591, 356, "GP00201010", 615, 395, 63},
  };
  Warehouse warehouse;
  for (const InSectorExample& e : examples) {
    SCOPED_TRACE(std::string(e.a) + " / " + e.b);
    SECTOR_ADDR_T a = at(e.a);
    SECTOR_ADDR_T b = at(e.b);
    ASSERT_EQ(a.x, e.ax);
    ASSERT_EQ(a.y, e.ay);
    ASSERT_EQ(b.x, e.bx);
    ASSERT_EQ(b.y, e.by);
    Measure measure = measureOf(e.sector);
    EXPECT_EQ(measure(a, b), e.expected);
    EXPECT_EQ(measure(b, a), e.expected);
    EXPECT_EQ(warehouse.getDistanceBetweenAddresses(a, b), e.expected);
    EXPECT_EQ(warehouse.getDistanceBetweenAddresses(b, a), e.expected);
  }
}

TEST(InSectorTest, SameLineIsWalkedStraightEvenAcrossCorridors) {
  // Row 5, cells 5 and 30: three cross corridors lie between them.
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorG(at("G000501005"), at("G000501030")),
      424);
  EXPECT_EQ(ver2::measuring::horizontalCorridorSpecialCase_G_V(
                point(10, 0, 3), point(500, 90, 3), 0),
            490);
}

TEST(InSectorTest, ShortcutFacesOnlyPairsStartingOnTheFacingParity) {
  using ver2::measuring::horizontalCorridorSpecialCase_G_V;
  // Parity 0 (V): rows 0 and 1, 2 and 3 face; 1 and 2 do not.
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(0, 0, 0), point(3, 4, 1), 0), 5);
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(3, 4, 3), point(0, 0, 2), 0), 5);
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(0, 0, 1), point(3, 4, 2), 0), -1);
  // Parity 1 (G, P, GP): rows 1 and 2 face; 0 and 1, 2 and 3 do not.
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(0, 0, 1), point(3, 4, 2), 1), 5);
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(0, 0, 0), point(3, 4, 1), 1), -1);
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(0, 0, 2), point(3, 4, 3), 1), -1);
  // Rows two apart never face.
  EXPECT_EQ(
      horizontalCorridorSpecialCase_G_V(point(0, 0, 1), point(3, 4, 3), 1), -1);
}

TEST(InSectorTest, VRowsBAndCDoNotFaceButCAndDDo) {
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorV(at("VBB0001050"), at("VCC0001005")),
      134);
  // (88, 34) and (94, 62): trunc(sqrt(6^2 + 28^2)).
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorV(at("VCC0001005"), at("VDD0001050")),
      28);
}

TEST(InSectorTest, GRowsTwoAndThreeDoNotFaceButOneAndTwoDo) {
  // (76, 154) and (76, 162): same bay, west 52 + 8.
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorG(at("G000201010"), at("G000301010")),
      60);
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorG(at("G000101010"), at("G000201010")),
      16);
}

TEST(InSectorTest, PAndGPShortcutsCompareCellNumbers) {
  // P cells 5 (774, 171) and 6 (808, 180) face: trunc(sqrt(34^2 + 9^2)).
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorP(at("P000101005"), at("P000201006")),
      35);
  // P cells 6 (808, 180) and 7 (774, 190) do not: north 140 + 34.
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorP(at("P000201006"), at("P000101007")),
      174);
  // GP cells 6 (591, 342) and 7 (615, 356) do not: south 14 + 24.
  EXPECT_EQ(ver2::measuring::getDistanceInSectorGP(at("GP00101006"),
                                                   at("GP00201007")),
            38);
}

TEST(InSectorTest, PointOnACorridorLineBelongsToTheFirstInterval) {
  // x 175 is in the interval 27..175 of V; the other point lies beyond it.
  EXPECT_EQ(ver2::measuring::getDistanceInSectorV(point(175, 28, 1),
                                                  point(200, 34, 2)),
            31);
  // y 356 is in 248..356 of GP; 395 lies beyond: 39 + 24.
  EXPECT_EQ(ver2::measuring::getDistanceInSectorGP(point(591, 356, 7),
                                                   point(615, 395, 10)),
            63);
}

TEST(InSectorTest, EqualBayChoicesGiveTheSameResult) {
  // G bay 166..330: west 34 + 130 and east 130 + 34 both 164.
  EXPECT_EQ(ver2::measuring::getDistanceInSectorG(point(200, 138, 1),
                                                  point(296, 178, 4)),
            204);
  // GP block 248..356: north |496 - 604| and south |712 - 604| both 108.
  EXPECT_EQ(ver2::measuring::getDistanceInSectorGP(point(591, 275, 2),
                                                   point(615, 329, 5)),
            132);
}

TEST(InSectorTest, PointsOutsideEveryIntervalAreMeasuredOrthogonally) {
  // V (23, 34) is west of 27: 65 + 62.
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorV(at("VCC0001000"), at("VFF0001005")),
      127);
  // G big-cell row cell 32 (575, 178) is east of 572: 13 + 32.
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorG(at("G000401032"), at("G000701033")),
      45);
  // P cell 61 (774, 703) is south of 696: 34 + 38.
  EXPECT_EQ(
      ver2::measuring::getDistanceInSectorP(at("P000101061"), at("P000201065")),
      72);
  // GP (591, 658) is south of 653: 24 + 26.
  EXPECT_EQ(ver2::measuring::getDistanceInSectorGP(at("GP00101030"),
                                                   at("GP00201032")),
            50);
}

TEST(InSectorTest, MeasuresDoNotCheckTheSector) {
  SECTOR_ADDR_T a = point(76, 138, 1);
  SECTOR_ADDR_T b = point(108, 162, 3);
  a.sector = "P00";
  EXPECT_EQ(ver2::measuring::getDistanceInSectorG(a, b), 108);
}

TEST(GeometryHelperTest, EuclideanDistanceIsTheRootOfTheSquares) {
  EXPECT_FLOAT_EQ(euclidean_distance(point(0, 0, 0), point(3, 4, 0)), 5.0f);
  EXPECT_EQ(euclidean_distance(point(312, 186, 0), point(388, 202, 0)),
            static_cast<float>(std::sqrt(76.0 * 76.0 + 16.0 * 16.0)));
  EXPECT_EQ(euclidean_distance(point(5, 5, 0), point(5, 5, 0)), 0.0f);
}

TEST(GeometryHelperTest, OrthogonalDistanceSumsTheAbsoluteDifferences) {
  EXPECT_EQ(orthogonal_distance(point(88, 34, 0), point(774, 218, 0)), 870.0f);
  EXPECT_EQ(orthogonal_distance(point(774, 218, 0), point(88, 34, 0)), 870.0f);
  EXPECT_EQ(orthogonal_distance(point(-3, 4, 0), point(3, -4, 0)), 14.0f);
}

}  // namespace
