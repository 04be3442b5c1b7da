#pragma once

// Builds wave JSON texts for the tests, and the files they are written to.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

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

// A file path of its own for the running test program and test, so that
// tests running side by side (ctest -j, other build trees) never share it.
inline std::filesystem::path uniqueTempPath(const std::string& stem) {
  const testing::TestInfo* test =
      testing::UnitTest::GetInstance()->current_test_info();
  return std::filesystem::temp_directory_path() /
         (stem + "_" + std::to_string(getpid()) + "_" +
          (test != nullptr ? test->name() : "none") + ".json");
}

}  // namespace testing_support
