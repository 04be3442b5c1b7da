#pragma once

// A synthetic wave for the benchmarks: customers with lines at addresses of
// all four sectors and goods that fit the standard box.

#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "support/address_generator.h"

namespace bench_support {

using testing_support::randomAddress;

// JSON text of a wave with the given numbers of customers and lines.
inline std::string syntheticWave(int customers,
                                 int lines,
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
