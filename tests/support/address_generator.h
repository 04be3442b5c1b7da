#pragma once

// Random storage address texts for the tests and the benchmarks, drawn from
// the racks the floor plan's layout tables draw, so that every text names a
// real place and no copy of the row and cell counts drifts from the plan.

#include <cstdio>
#include <random>
#include <string>

#include "geometry/layout.h"

namespace testing_support {

// The four sector kinds, in the order randomAddress draws them.
enum class SectorKind { G = 0, V = 1, P = 2, GP = 3 };

// Levels of the racks; the distances never read them.
constexpr RackRange kLevels{1, 6};

namespace address_detail {

inline int uniform(std::mt19937& random, RackRange range) {
  return std::uniform_int_distribution<int>(range.first, range.last)(random);
}

inline std::string text(const std::string& sector,
                        int row,
                        int level,
                        int cell) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%02d%02d%03d", sector.c_str(), row,
                level, cell);
  return buffer;
}

}  // namespace address_detail

// A random address text in the given sector kind: any drawn row, level and
// cell. Sector V names its row by letter (doubled, "VBB"), a fifth of them
// in lower case, which the mapping reads alike.
inline std::string randomAddress(std::mt19937& random, SectorKind kind) {
  using address_detail::text;
  using address_detail::uniform;
  switch (kind) {
    case SectorKind::G: {
      const int row = uniform(random, secG::rows);
      bool small = false;
      for (int r : secG::rows_246_celled) small = small || r == row;
      const int cell =
          uniform(random, small ? secG::small_cells : secG::big_cells);
      return text("G00", row, uniform(random, kLevels), cell);
    }
    case SectorKind::V: {
      const int r = uniform(random, {0, secV::last_row - secV::first_row});
      const char upper = static_cast<char>(secV::first_row + r);
      bool small = false;
      for (const std::string& row : secV::rows_380_celled) {
        small = small || row == std::string(2, upper);
      }
      const RackRange cells = r == 0  ? secV::pallet_cells
                              : small ? secV::small_cells
                                      : secV::big_cells;
      const bool lower = uniform(random, {0, 4}) == 0;
      const char letter = lower ? static_cast<char>(upper - 'A' + 'a') : upper;
      return text(std::string{'V', letter, letter}, 0, uniform(random, kLevels),
                  uniform(random, cells));
    }
    case SectorKind::P:
      return text("P00", uniform(random, secP::rows), uniform(random, kLevels),
                  uniform(random, secP::cells));
    case SectorKind::GP:
    default: {
      const int row = uniform(random, secGP::rows);
      const RackRange cells =
          row >= secGP::first_shifted_row ? secGP::shifted_cells : secGP::cells;
      return text("GP0", row, uniform(random, kLevels), uniform(random, cells));
    }
  }
}

// A random address text in any of the four sector kinds, each as likely.
inline std::string randomAddress(std::mt19937& random) {
  const int kind = address_detail::uniform(random, {0, 3});
  return randomAddress(random, static_cast<SectorKind>(kind));
}

// The same texts from a generator of its own, drawn with a fixed seed.
class AddressGenerator {
 public:
  explicit AddressGenerator(unsigned seed) : random_(seed) {}

  std::string next() { return randomAddress(random_); }
  std::string next(SectorKind kind) { return randomAddress(random_, kind); }

 private:
  std::mt19937 random_;
};

}  // namespace testing_support
