#pragma once

// Builds wave JSON texts for the tests.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace testing_support {

struct WaveRow {
  int customer;
  int product;
  std::string address;
  int qty;
  int unit = 0;
  int contentQty = 1;
  float x = 10, y = 10, z = 10;
  float weight = 0.5f;
  int cart = 1;
  int rank = 1;
};

inline std::string waveText(const std::vector<WaveRow>& rows) {
  nlohmann::json wave = nlohmann::json::array();
  for (const WaveRow& r : rows) {
    wave.push_back({{"Customer", r.customer},
                    {"Product", r.product},
                    {"AddressCode", r.address},
                    {"Qty", r.qty},
                    {"Unit", r.unit},
                    {"PackageType", r.unit + 1},
                    {"ContentQty", r.contentQty},
                    {"X", r.x},
                    {"Y", r.y},
                    {"Z", r.z},
                    {"Weight", r.weight},
                    {"Cart", r.cart},
                    {"AddressRank", r.rank}});
  }
  return wave.dump();
}

}  // namespace testing_support
