#pragma once

// Random storage address texts for the geometry and report tests.

#include <cstdio>
#include <random>
#include <string>

namespace testing_support {

// Address texts within the realistic row, level and cell ranges of each
// sector, drawn with a fixed seed.
class AddressGenerator {
 public:
  explicit AddressGenerator(unsigned seed) : random_(seed) {}

  std::string next() {
    switch (uniform(0, 3)) {
      case 0:
        return g();
      case 1:
        return v();
      case 2:
        return p();
      default:
        return gp();
    }
  }

 private:
  int uniform(int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random_);
  }

  static std::string text(const char* sector, int row, int level, int cell) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%02d%02d%03d", sector, row, level,
                  cell);
    return buffer;
  }

  std::string g() {
    int row = uniform(0, 40);
    bool small = row <= 3 || row >= 36;
    return text("G00", row, uniform(1, 6), uniform(1, small ? 246 : 35));
  }

  std::string v() {
    int r = uniform(0, 5);
    char letter = static_cast<char>((uniform(0, 4) == 0 ? 'a' : 'A') + r);
    int cells = r == 0 ? 45 : (r == 1 || r == 3) ? 380 : 38;
    std::string sector = {'V', letter, letter};
    return text(sector.c_str(), 0, uniform(1, 6), uniform(1, cells));
  }

  std::string p() {
    return text("P00", uniform(1, 8), uniform(1, 6), uniform(1, 70));
  }

  std::string gp() {
    return text("GP0", uniform(1, 8), uniform(1, 6), uniform(0, 35));
  }

  std::mt19937 random_;
};

}  // namespace testing_support
