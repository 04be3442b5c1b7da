#include "geometry/waddress.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "geometry/layout.h"
#include "types.h"

// Address texts are read at fixed positions: sector code 0-2, row number 3-4
// (the row letter at 1 in sector V), level 5-6, cell number 7-9. Every step
// of a formula is computed in its own precision, single (float) or
// double, and truncated to int before the next step starts. Truncation goes
// through clampToInt, so that odd texts ("inf", "9e9" as a number) give a
// clamped value instead of an undefined conversion.

namespace {

// Number of a text at [pos, pos + len), as std::stof reads it. A position
// beyond the text throws std::out_of_range (basic_string::substr), a text
// without a number there std::invalid_argument (stof).
float readFloat(const std::string& text, std::size_t pos, std::size_t len) {
  return std::stof(text.substr(pos, len));
}

// The same for the level, read by std::stoi in base 10.
int readInt(const std::string& text, std::size_t pos, std::size_t len) {
  return std::stoi(text.substr(pos, len));
}

// The west edge of the first rack of G and of V: the sector's offset plus
// its west corridor (60 and 30).
constexpr float g_first_rack_x =
    secG::x_offset + secG::side_side_vertical_cor_width;
constexpr float v_first_rack_x =
    secV::x_offset + secV::side_side_vertical_cor_width;

int truncF(float value) {
  return clampToInt(value);
}
int truncD(double value) {
  return clampToInt(value);
}

// The depth a row (G) or column (P) adds to its position, in single
// precision: an odd row (as truncated) lies one cell depth further, behind
// the corridor it faces.
float rowDepth(float row, float cellDepth) {
  return truncF(row) % 2 != 0 ? row * cellDepth + cellDepth : row * cellDepth;
}

}  // namespace

namespace ver2::mapping {

// Columns of racks run north to south; the row number chooses x.
SECTOR_ADDR_T GP_SectorMapping(std::string text) {
  SECTOR_ADDR_T point;
  float row = readFloat(text, 3, 2);
  point.xIndex = truncF(row);
  point.x = truncF((row - 1) * secGP::vertical_cor_width +
                   (row * secGP::cell_depth + secGP::x_offset));
  if (row == 3 || row == 5) {
    point.x = truncF(static_cast<float>(point.x) - secGP::cell_depth);
  }
  if (row == 4 || row == 5) {
    point.x = truncF(static_cast<float>(point.x) - secGP::vertical_cor_width);
  }
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.yIndex = truncF(cell);
  point.y = truncF((cell / 2) * secGP::cell_gap +
                   (cell * secGP::cell_width + secGP::y_offset));
  if (row > 6) {
    point.y =
        truncF(static_cast<float>(point.y) + secGP::horizontal_corridor_width);
  }
  return point;
}

// Rows run west to east; the row number chooses y. Rows 1 and 2, 3 and 4,
// ... face each other across a 16-wide corridor; row 0 faces north.
SECTOR_ADDR_T G_SectorMapping(std::string text) {
  SECTOR_ADDR_T point;
  float row = readFloat(text, 3, 2);
  point.yIndex = truncF(row);
  point.y = truncD(std::round((static_cast<double>(row) - 0.3) / 2) *
                       secG::horizontal_corridor_width +
                   secG::y_offset);
  point.y =
      truncF(static_cast<float>(point.y) + rowDepth(row, secG::cell_depth));
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.xIndex = truncF(cell);

  // The cross corridors already passed add 31, 68 and 99 (side, middle,
  // side). The thresholds are cell numbers, strict.
  bool smallCells =
      std::any_of(secG::rows_246_celled.begin(), secG::rows_246_celled.end(),
                  [row](int r) { return row == static_cast<float>(r); });
  float width = smallCells ? secG::small_cell_width : secG::big_cell_width;
  float t1 = smallCells ? 192 : 24;
  float t2 = smallCells ? 136 : 17;
  float t3 = smallCells ? 56 : 7;
  point.x = truncF(cell * width + g_first_rack_x);
  constexpr float side = secG::side_middle_vertical_cor_width;
  constexpr float middle = secG::middle_vertical_cor_width;
  float passed = cell > t1   ? side + middle + side
                 : cell > t2 ? side + middle
                 : cell > t3 ? side
                             : 0;
  if (passed != 0) point.x = truncF(static_cast<float>(point.x) + passed);
  return point;
}

// Columns run north to south; the row number chooses x.
SECTOR_ADDR_T P_SectorMapping(std::string text) {
  SECTOR_ADDR_T point;
  float row = readFloat(text, 3, 2);
  point.xIndex = truncF(row);
  point.x = truncD(secP::x_offset +
                   secP::vertical_cor_width *
                       std::round((static_cast<double>(row) - 0.3) / 2));
  point.x =
      truncF(rowDepth(row, secP::cell_depth) + static_cast<float>(point.x));
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.yIndex = truncF(cell);
  point.y = truncD(secP::cell_width +
                   ((static_cast<double>(cell) - 0.075) * secP::cell_width +
                    secP::y_offset));
  // The row is tested here, not the cell (so P rows in use, 0 to 8, are
  // never shifted).
  if (row > 48) {
    point.y =
        truncF(static_cast<float>(point.y) + secP::horizontal_corridor_width);
  }
  return point;
}

// Rows run west to east; the row letter (case-insensitive) chooses y.
// Positions 3 and 4 are not read.
SECTOR_ADDR_T V_SectorMapping(std::string text) {
  SECTOR_ADDR_T point;
  // A text too short to hold the letter fails below, at the level.
  char letter = text.size() > 1 ? text[1] : '\0';
  int r = std::toupper(static_cast<unsigned char>(letter)) - 'A';
  point.yIndex = r;
  double k = std::round((r + 0.3) / 2);
  point.y = truncD(k * secV::horizontal_corridor_width);
  float backToBack = secV::big_cell_depth * static_cast<float>(r / 2);
  point.y =
      truncD(static_cast<double>(point.y) +
             (secV::small_cell_depth * k + static_cast<double>(backToBack)));
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.xIndex = truncF(cell);

  // Positions are cell centres: half a pallet, small cell or big cell width
  // on from the cell's west edge. 36.5 and 88.46 (and the pallet row's other
  // shifts) are measured positions, not sums of the layout's widths.
  if (r == 0) {  // pallet places
    point.x = truncD(static_cast<double>(secV::pallet_cell_width * (cell - 1)) +
                     36.5 + static_cast<double>(secV::pallet_cell_width / 2));
    if (cell > 36) {
      point.x = truncD(point.x + 135.5);
    } else if (cell > 26) {
      point.x = truncD(point.x + 89.0);
    } else if (cell > 12) {
      point.x = truncD(point.x + 37.2);
    }
    return point;
  }
  bool smallCells = r == 1 || r == 3;  // the rows of secV::rows_380_celled
  float t1 = smallCells ? 280 : 28;
  float t2 = smallCells ? 200 : 20;
  float t3 = smallCells ? 100 : 10;
  if (smallCells) {
    point.x = truncD(static_cast<double>((cell - 1) * secV::small_cell_width +
                                         v_first_rack_x) +
                     static_cast<double>(secV::small_cell_width / 2));
  } else {
    point.x = truncD(static_cast<double>((cell - 1) * secV::big_cell_width +
                                         v_first_rack_x) +
                     static_cast<double>(secV::big_cell_width / 2));
  }
  if (cell > t1) {
    point.x = truncD(point.x + 88.46);
  } else if (cell > t2) {
    point.x = truncF(static_cast<float>(point.x) +
                     (secV::side_middle_vertical_cor_width +
                      secV::middle_vertical_cor_width));
  } else if (cell > t3) {
    point.x = truncF(static_cast<float>(point.x) +
                     secV::side_middle_vertical_cor_width);
  }
  return point;
}

}  // namespace ver2::mapping

WAddress::WAddress(std::string text) : rawSectorAddress(std::move(text)) {
  std::string code = rawSectorAddress.substr(0, 3);
  if (code.starts_with("GP")) {
    warehouseAddress = ver2::mapping::GP_SectorMapping(rawSectorAddress);
  } else if (code.starts_with('G')) {
    warehouseAddress = ver2::mapping::G_SectorMapping(rawSectorAddress);
  } else if (code.starts_with('V')) {
    warehouseAddress = ver2::mapping::V_SectorMapping(rawSectorAddress);
  } else if (code.starts_with('P')) {
    warehouseAddress = ver2::mapping::P_SectorMapping(rawSectorAddress);
  }
  warehouseAddress.sector = std::move(code);
}
