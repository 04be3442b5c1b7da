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
  point.y = truncD(std::round((static_cast<double>(row) - 0.3) / 2) * 16 + 130);
  point.y =
      truncF(static_cast<float>(point.y) + rowDepth(row, secG::cell_depth));
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.xIndex = truncF(cell);

  // 60 is x_offset plus the west corridor; 31, 68 and 99 are the widths of
  // the cross corridors already passed. Thresholds are strict.
  bool smallCells =
      std::any_of(secG::rows_246_celled.begin(), secG::rows_246_celled.end(),
                  [row](int r) { return row == static_cast<float>(r); });
  float width = smallCells ? secG::small_cell_width : secG::big_cell_width;
  float t1 = smallCells ? 192 : 24;
  float t2 = smallCells ? 136 : 17;
  float t3 = smallCells ? 56 : 7;
  point.x = truncF(cell * width + 60);
  float passed = cell > t1 ? 99 : cell > t2 ? 68 : cell > t3 ? 31 : 0;
  if (passed != 0) point.x = truncF(static_cast<float>(point.x) + passed);
  return point;
}

// Columns run north to south; the row number chooses x.
SECTOR_ADDR_T P_SectorMapping(std::string text) {
  SECTOR_ADDR_T point;
  float row = readFloat(text, 3, 2);
  point.xIndex = truncF(row);
  point.x = truncD(754 + 34 * std::round((static_cast<double>(row) - 0.3) / 2));
  point.x =
      truncF(rowDepth(row, secP::cell_depth) + static_cast<float>(point.x));
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.yIndex = truncF(cell);
  point.y = truncD(9.5 + ((static_cast<double>(cell) - 0.075) * 9.5 + 115));
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
  point.y = truncD(k * 24);
  float backToBack = 6.0f * static_cast<float>(r / 2);
  point.y = truncD(static_cast<double>(point.y) +
                   (4 * k + static_cast<double>(backToBack)));
  point.level = point.levelCopy = readInt(text, 5, 2);
  float cell = readFloat(text, 7, 3);
  point.xIndex = truncF(cell);

  // 30 is x_offset plus the west corridor; 5, 0.65 and 6.5 are half a
  // pallet, small cell and big cell width.
  if (r == 0) {  // pallet places
    point.x = truncD(static_cast<double>(10.0f * (cell - 1)) + 36.5 + 5.0);
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
    point.x = truncD(static_cast<double>((cell - 1) * 1.3f + 30.0f) +
                     static_cast<double>(0.65f));
  } else {
    point.x = truncD(static_cast<double>((cell - 1) * 13.0f + 30.0f) + 6.5);
  }
  if (cell > t1) {
    point.x = truncD(point.x + 88.46);
  } else if (cell > t2) {
    point.x = truncF(static_cast<float>(point.x) + 68.0f);
  } else if (cell > t3) {
    point.x = truncF(static_cast<float>(point.x) + 31.0f);
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
