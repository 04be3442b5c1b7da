#include "geometry/address_check.h"

#include <algorithm>
#include <string>

#include "geometry/layout.h"

namespace {

std::string rangeText(RackRange range) {
  return std::to_string(range.first) + " to " + std::to_string(range.last);
}

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
                        RackRange drawn) {
  return what + " " + std::to_string(n) +
         " lies outside the floor plan: " + sector + " has " + what + "s " +
         rangeText(drawn);
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
    if (letter < secV::first_row || letter > secV::last_row) {
      return std::string("row ") + text[1] +
             " lies outside the floor plan: sector V has rows A to F";
    }
    const bool small =
        std::find(secV::rows_380_celled.begin(), secV::rows_380_celled.end(),
                  std::string(2, letter)) != secV::rows_380_celled.end();
    const RackRange cells = letter == secV::first_row ? secV::pallet_cells
                            : small                   ? secV::small_cells
                                                      : secV::big_cells;
    if (!cells.holds(cell)) {
      return outsideText("cell", cell,
                         std::string("row ") + letter + " of sector V", cells);
    }
    return std::nullopt;
  }
  const int row = numberAt(text, 3, 2);
  const bool gp = text.starts_with("GP");
  const std::string sector = gp ? "GP" : text[0] == 'G' ? "G" : "P";
  const RackRange rows = gp               ? secGP::rows
                         : text[0] == 'G' ? secG::rows
                                          : secP::rows;
  if (!rows.holds(row))
    return outsideText("row", row, "sector " + sector, rows);
  RackRange cells = secP::cells;
  if (gp) {
    cells =
        row >= secGP::first_shifted_row ? secGP::shifted_cells : secGP::cells;
  } else if (text[0] == 'G') {
    const bool small =
        std::find(secG::rows_246_celled.begin(), secG::rows_246_celled.end(),
                  row) != secG::rows_246_celled.end();
    cells = small ? secG::small_cells : secG::big_cells;
  }
  if (!cells.holds(cell)) {
    return outsideText("cell", cell,
                       "row " + std::to_string(row) + " of sector " + sector,
                       cells);
  }
  return std::nullopt;
}

}  // namespace ver2::mapping
