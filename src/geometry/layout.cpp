#include "geometry/layout.h"

// The tables are defined in the order they are built when the library loads
// (dynamic initialisation within one file follows the order of definition):
// V tables, G tables, G_north_exit, G_lower_exit, P tables, P_middle_exit,
// P_north_exit, P_south_exit, GP tables, GP_exits. Every value derived from
// another table is defined after that table.

namespace {

// An exit point: the sector text, x and y; every other field 0.
GRAPH_POINT_T makeExit(const char* sector, int x, int y) {
  GRAPH_POINT_T point;
  point.sector = sector;
  point.x = x;
  point.y = y;
  return point;
}

}  // namespace

namespace secV {
const std::vector<int> vertical_corridors = {27, 175, 339, 477, 625};
const std::vector<std::string> rows_380_celled = {"BB", "DD"};
// The three inner cross corridors meet the south side of V.
const std::map<int, int> V_South_exits = {
    {vertical_corridors[1], y_for_south_exits},
    {vertical_corridors[2], y_for_south_exits},
    {vertical_corridors[3], y_for_south_exits}};
// Keyed by the east end corridor (625); the value is the north edge of V.
// No operation reads this map.
const std::map<int, int> V_East_exits = {
    {vertical_corridors.back(), static_cast<int>(y_offset)}};
}  // namespace secV

namespace secG {
const std::vector<int> vertical_corridors = {50, 166, 330, 455, 572};
const std::vector<int> rows_246_celled = {0, 1, 2, 3, 36, 37, 38, 39, 40};
const GRAPH_POINT_T G_north_exit = makeExit("G00", 585, 130);
// 10 east of the last cross corridor of G: x 582.
const GRAPH_POINT_T G_lower_exit =
    makeExit("G00", vertical_corridors.back() + 10, 626);
}  // namespace secG

namespace secP {
const std::vector<int> vertical_corridors = {754, 791, 845, 899};
const std::vector<int> horizontal_cooridors = {115, 581, 696};
// The first cross corridor (115), not the middle one: this point equals
// P_north_exit.
const GRAPH_POINT_T P_middle_exit =
    makeExit("P00", 754, horizontal_cooridors.front());
const GRAPH_POINT_T P_north_exit = makeExit("P00", 754, 115);
const GRAPH_POINT_T P_south_exit = makeExit("P00", 754, 798);
}  // namespace secP

namespace secGP {
const std::vector<int> vertical_corridors = {600, 624, 654};
const std::vector<int> horizontal_corridors = {248, 356, 653};
// One exit on each cross corridor, at x 693 (654 + 9 + 30).
const std::vector<SECTOR_ADDR_T> GP_exits = [] {
  std::vector<SECTOR_ADDR_T> exits;
  for (int y : horizontal_corridors) {
    exits.push_back(makeExit("GP0", vertical_corridors[2] + 9 + 30, y));
  }
  return exits;
}();
}  // namespace secGP
