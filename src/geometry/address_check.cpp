#include "geometry/address_check.h"

#include <algorithm>
#include <string>

#include "geometry/layout.h"

namespace {

// First and last number of a row or cell range, both included.
struct Range {
  int first;
  int last;
  bool holds(int n) const { return n >= first && n <= last; }
  std::string text() const {
    return std::to_string(first) + " to " + std::to_string(last);
  }
};

// The racks the floor plan draws, in the numbers of the address text.
//
// G: rows 0 to 40 (the last rows of secG::rows_246_celled); a small-cell row
// holds 246 cells, 0 to 245; a big cell beyond 31 would lie east of the last
// cross corridor (x 572).
// V: rows A to F; row A's pallet places and the big cells of rows C, E and F
// end at the east corridor (x 625) with 45 and 39; the small-cell rows B and
// D (secV::rows_380_celled) hold 380 cells.
// P: columns 0 to 6, which the corridors at x 754 to 899 serve; cells 0 to 70
// reach the south exit at y 798.
// GP: columns 1 to 8 (x 591 to 759; column 0 would lie west of the sector);
// cells north of the cross corridor at y 653: 0 to 29, 0 to 27 in columns 7
// and 8, which lie 32 further south.
constexpr Range kRowsG{0, 40}, kSmallCellsG{0, 245}, kBigCellsG{0, 31};
constexpr Range kPalletCellsV{1, 45}, kSmallCellsV{1, 380}, kBigCellsV{1, 39};
constexpr Range kRowsP{0, 6}, kCellsP{0, 70};
constexpr Range kRowsGP{1, 8}, kCellsGP{0, 29}, kShiftedCellsGP{0, 27};
constexpr char kFirstRowV = 'A', kLastRowV = 'F';

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool digitsAt(const std::string& text, std::size_t pos, std::size_t len) {
  return std::all_of(text.begin() + static_cast<long>(pos),
                     text.begin() + static_cast<long>(pos + len), isDigit);
}

// The number of a run of digits already checked.
int numberAt(const std::string& text, std::size_t pos, std::size_t len) {
  int n = 0;
  for (std::size_t i = pos; i < pos + len; ++i) n = n * 10 + (text[i] - '0');
  return n;
}

std::string outsideText(const std::string& what,
                        int n,
                        const std::string& sector,
                        Range drawn) {
  return what + " " + std::to_string(n) +
         " lies outside the floor plan: " + sector + " has " + what + "s " +
         drawn.text();
}

}  // namespace

namespace ver2::mapping {

std::optional<std::string> addressFormatError(const std::string& text) {
  const char sector = text.empty() ? '\0' : text[0];
  if (sector != 'G' && sector != 'V' && sector != 'P') {
    return std::string("unknown sector");
  }
  if (text.size() != 10) {
    return "has " + std::to_string(text.size()) + " characters, not 10";
  }
  if (sector == 'V') {
    const char row = text[1];
    if (!((row >= 'A' && row <= 'Z') || (row >= 'a' && row <= 'z'))) {
      return std::string("no row letter at position 1");
    }
  } else if (!digitsAt(text, 3, 2)) {
    return std::string("no digits at positions 3-4 (row)");
  }
  if (!digitsAt(text, 5, 2)) {
    return std::string("no digits at positions 5-6 (level)");
  }
  if (!digitsAt(text, 7, 3)) {
    return std::string("no digits at positions 7-9 (cell)");
  }
  return std::nullopt;
}

std::optional<std::string> outsideFloorPlan(const std::string& text) {
  if (addressFormatError(text)) return std::nullopt;
  const int cell = numberAt(text, 7, 3);
  if (text[0] == 'V') {
    const char letter =
        static_cast<char>(text[1] >= 'a' ? text[1] - 'a' + 'A' : text[1]);
    if (letter < kFirstRowV || letter > kLastRowV) {
      return std::string("row ") + text[1] +
             " lies outside the floor plan: sector V has rows A to F";
    }
    const bool small = letter == 'B' || letter == 'D';
    const Range cells = letter == kFirstRowV ? kPalletCellsV
                        : small              ? kSmallCellsV
                                             : kBigCellsV;
    if (!cells.holds(cell)) {
      return outsideText("cell", cell,
                         std::string("row ") + letter + " of sector V", cells);
    }
    return std::nullopt;
  }
  const int row = numberAt(text, 3, 2);
  const bool gp = text.starts_with("GP");
  const std::string sector = gp ? "GP" : text[0] == 'G' ? "G" : "P";
  const Range rows = gp ? kRowsGP : text[0] == 'G' ? kRowsG : kRowsP;
  if (!rows.holds(row))
    return outsideText("row", row, "sector " + sector, rows);
  Range cells = kCellsP;
  if (gp) {
    cells = row > 6 ? kShiftedCellsGP : kCellsGP;
  } else if (text[0] == 'G') {
    const bool small =
        std::find(secG::rows_246_celled.begin(), secG::rows_246_celled.end(),
                  row) != secG::rows_246_celled.end();
    cells = small ? kSmallCellsG : kBigCellsG;
  }
  if (!cells.holds(cell)) {
    return outsideText("cell", cell,
                       "row " + std::to_string(row) + " of sector " + sector,
                       cells);
  }
  return std::nullopt;
}

}  // namespace ver2::mapping
