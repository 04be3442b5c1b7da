#pragma once

// The warehouse floor plan: rack and corridor dimensions in decimetres, the
// corridor lines and the exit points of the four sector kinds. The scalars are
// compile-time constants; the tables are built once when the library loads and
// never change afterwards.

#include <map>
#include <string>
#include <vector>

#include "geometry/sector_addr.h"

// First and last number of a row or cell range of the racks, both included,
// in the numbers of the address text.
struct RackRange {
  int first;
  int last;
  constexpr bool holds(int n) const { return n >= first && n <= last; }
};

namespace secV {
constexpr float x_offset = 25;
constexpr float y_offset = 0;
constexpr float horizontal_corridor_width = 24;
constexpr float middle_vertical_cor_width = 37;
constexpr float side_middle_vertical_cor_width = 31;
constexpr float side_side_vertical_cor_width = 5;
constexpr float small_cell_depth = 4;
constexpr float big_cell_depth = 6;
constexpr float pallet_cell_depth = 12;
constexpr float big_cell_width = 13;
constexpr float small_cell_width = 1.3f;
constexpr float pallet_cell_width = 10;
constexpr int first_row_opposite = 0;
constexpr int y_for_south_exits = 92;
// The racks drawn: rows A to F; row A's pallet places and the big cells of
// rows C, E and F end at the east corridor (x 625) with 45 and 39; the
// small-cell rows B and D (rows_380_celled) hold 380 cells.
constexpr char first_row = 'A';
constexpr char last_row = 'F';
constexpr RackRange pallet_cells{1, 45};
constexpr RackRange small_cells{1, 380};
constexpr RackRange big_cells{1, 39};

extern const std::vector<int> vertical_corridors;
extern const std::vector<std::string> rows_380_celled;
extern const std::map<int, int> V_South_exits;
extern const std::map<int, int> V_East_exits;
}  // namespace secV

namespace secG {
constexpr float x_offset = 40;
constexpr float y_offset = 130;
constexpr float horizontal_corridor_width = 16;
constexpr float middle_vertical_cor_width = 37;
constexpr float side_middle_vertical_cor_width = 31;
constexpr float side_side_vertical_cor_width = 20;
constexpr float cell_depth = 4;
constexpr float big_cell_width = 13;
constexpr float small_cell_width = 1.6f;
constexpr int first_row_opposite = 1;
// The racks drawn: rows 0 to 40 (the last rows of rows_246_celled); a
// small-cell row holds 246 cells, 0 to 245; a big cell beyond 31 would lie
// east of the last cross corridor (x 572).
constexpr RackRange rows{0, 40};
constexpr RackRange small_cells{0, 245};
constexpr RackRange big_cells{0, 31};

extern const std::vector<int> vertical_corridors;
extern const std::vector<int> rows_246_celled;
extern const GRAPH_POINT_T G_north_exit;
extern const GRAPH_POINT_T G_lower_exit;
}  // namespace secG

namespace secP {
constexpr float x_offset = 754;
constexpr float y_offset = 115;
constexpr float horizontal_corridor_width = 20;
constexpr float vertical_cor_width = 34;
constexpr float cell_depth = 10;
constexpr float cell_width = 9.5f;
constexpr int first_column_opposite = 1;
// The racks drawn: columns 0 to 6, which the corridors at x 754 to 899
// serve; cells 0 to 70 reach the south exit at y 798.
constexpr RackRange rows{0, 6};
constexpr RackRange cells{0, 70};

extern const std::vector<int> vertical_corridors;
extern const std::vector<int> horizontal_cooridors;  // sic
extern const GRAPH_POINT_T P_middle_exit;
extern const GRAPH_POINT_T P_north_exit;
extern const GRAPH_POINT_T P_south_exit;
}  // namespace secP

namespace secGP {
constexpr float x_offset = 585;
constexpr float y_offset = 264;
constexpr float horizontal_corridor_width = 32;
constexpr float vertical_cor_width = 18;
constexpr float cell_gap = 2.9f;
constexpr float cell_depth = 6;
constexpr float cell_width = 11.7f;
constexpr int first_column_opposite = 1;
// The racks drawn: columns 1 to 8 (x 591 to 759; column 0 would lie west of
// the sector); cells north of the cross corridor at y 653: 0 to 29, and 0 to
// 27 in the columns after the first shifted one, which lie 32 further south.
constexpr RackRange rows{1, 8};
constexpr RackRange cells{0, 29};
constexpr RackRange shifted_cells{0, 27};
constexpr int first_shifted_row = 7;

extern const std::vector<int> vertical_corridors;
extern const std::vector<int> horizontal_corridors;
extern const std::vector<SECTOR_ADDR_T> GP_exits;
}  // namespace secGP
