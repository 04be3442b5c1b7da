#include "geometry/layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GeometryLayoutTest, CorridorTablesHoldTheirValuesInOrder) {
  EXPECT_EQ(secV::vertical_corridors,
            (std::vector<int>{27, 175, 339, 477, 625}));
  EXPECT_EQ(secG::vertical_corridors,
            (std::vector<int>{50, 166, 330, 455, 572}));
  EXPECT_EQ(secP::vertical_corridors, (std::vector<int>{754, 791, 845, 899}));
  EXPECT_EQ(secP::horizontal_cooridors, (std::vector<int>{115, 581, 696}));
  EXPECT_EQ(secGP::vertical_corridors, (std::vector<int>{600, 624, 654}));
  EXPECT_EQ(secGP::horizontal_corridors, (std::vector<int>{248, 356, 653}));
}

TEST(GeometryLayoutTest, RowTablesHoldTheirValues) {
  EXPECT_EQ(secG::rows_246_celled,
            (std::vector<int>{0, 1, 2, 3, 36, 37, 38, 39, 40}));
  EXPECT_EQ(secV::rows_380_celled, (std::vector<std::string>{"BB", "DD"}));
}

TEST(GeometryLayoutTest, VExitMapsAreKeyedByCorridors) {
  EXPECT_EQ(secV::V_South_exits,
            (std::map<int, int>{{175, 92}, {339, 92}, {477, 92}}));
  ASSERT_EQ(secV::V_East_exits.size(), 1u);
  EXPECT_EQ(secV::V_East_exits.begin()->first, 625);
}

TEST(GeometryLayoutTest, GExitsSitAtTheirPoints) {
  EXPECT_EQ(secG::G_north_exit.sector, "G00");
  EXPECT_EQ(secG::G_north_exit.x, 585);
  EXPECT_EQ(secG::G_north_exit.y, 130);
  EXPECT_EQ(secG::G_lower_exit.sector, "G00");
  EXPECT_EQ(secG::G_lower_exit.x, 582);  // 572 + 10
  EXPECT_EQ(secG::G_lower_exit.y, 626);
}

TEST(GeometryLayoutTest, PMiddleExitEqualsPNorthExit) {
  EXPECT_EQ(secP::P_middle_exit, secP::P_north_exit);
  EXPECT_EQ(secP::P_middle_exit.x, 754);
  EXPECT_EQ(secP::P_middle_exit.y, 115);
  EXPECT_EQ(secP::P_south_exit.x, 754);
  EXPECT_EQ(secP::P_south_exit.y, 798);
  EXPECT_EQ(secP::P_south_exit.sector, "P00");
}

TEST(GeometryLayoutTest, GPExitsLieOnTheCrossCorridorsAtX693) {
  ASSERT_EQ(secGP::GP_exits.size(), 3u);
  const int ys[] = {248, 356, 653};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(secGP::GP_exits[i].sector, "GP0");
    EXPECT_EQ(secGP::GP_exits[i].x, 693);  // 654 + 9 + 30
    EXPECT_EQ(secGP::GP_exits[i].y, ys[i]);
  }
}

TEST(GeometryLayoutTest, ExitPointsHaveEveryOtherFieldZero) {
  for (const GRAPH_POINT_T* p :
       {&secG::G_north_exit, &secG::G_lower_exit, &secP::P_north_exit,
        &secP::P_middle_exit, &secP::P_south_exit}) {
    EXPECT_EQ(p->level, 0);
    EXPECT_EQ(p->levelCopy, 0);
    EXPECT_EQ(p->xIndex, 0);
    EXPECT_EQ(p->yIndex, 0);
    EXPECT_EQ(p->mark, 0);
  }
}

}  // namespace
