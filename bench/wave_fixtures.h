#pragma once

// A synthetic wave for the benchmarks: customers with lines at addresses of
// all four sectors and goods that fit the standard box.

#include <cstdio>
#include <random>
#include <string>

#include <nlohmann/json.hpp>

namespace bench_support {

inline std::string randomAddress(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  char text[16];
  switch (pick(0, 9)) {
    case 0:
    case 1:
    case 2:
    case 3: {  // G: small-cell rows hold up to 245 cells, the others 31
      int row = pick(0, 40);
      bool small = row <= 3 || row >= 36;
      std::snprintf(text, sizeof text, "G00%02d%02d%03d", row, pick(1, 4),
                    pick(1, small ? 245 : 31));
      break;
    }
    case 4:
    case 5:
    case 6: {  // V: rows A to F
      char row = static_cast<char>('A' + pick(0, 5));
      int cells = row == 'A' ? 45 : (row == 'B' || row == 'D') ? 380 : 35;
      std::snprintf(text, sizeof text, "V%c%c00%02d%03d", row, row, pick(1, 4),
                    pick(1, cells));
      break;
    }
    case 7:
    case 8:  // P: columns 0 to 6
      std::snprintf(text, sizeof text, "P00%02d%02d%03d", pick(0, 6),
                    pick(1, 4), pick(0, 70));
      break;
    default:  // GP: columns 1 to 8
      std::snprintf(text, sizeof text, "GP0%02d%02d%03d", pick(1, 8),
                    pick(1, 4), pick(0, 27));
      break;
  }
  return text;
}

// JSON text of a wave with the given numbers of customers and lines.
inline std::string syntheticWave(int customers, int lines,
                                 unsigned seed = 2026) {
  std::mt19937 rng(seed);
  auto real = [&](float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(rng);
  };
  nlohmann::json wave = nlohmann::json::array();
  for (int i = 0; i < lines; ++i) {
    int customer = 100000 + (i % customers);
    int product = 500000 + i;
    nlohmann::json row = {{"Customer", customer},
                          {"Product", product},
                          {"AddressCode", randomAddress(rng)},
                          {"Qty", 1 + static_cast<int>(rng() % 4)},
                          {"Unit", 0},
                          {"PackageType", 1},
                          {"ContentQty", 1},
                          {"X", real(2, 14)},
                          {"Y", real(2, 14)},
                          {"Z", real(2, 20)},
                          {"Weight", real(0.1f, 3)},
                          {"Cart", 1 + (i % customers) / 5},
                          {"AddressRank", 1 + static_cast<int>(rng() % 50)}};
    wave.push_back(row);
  }
  return wave.dump();
}

}  // namespace bench_support
