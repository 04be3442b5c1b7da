// Pins the exported plans: every bundled wave and seeded generated waves,
// planned with each grouping (and, for the bundled waves, each volume
// packer), must export byte for byte the plan recorded in
// plan_reference_hashes.txt, compared by a 64-bit FNV-1a hash of the JSON.
//
// The generated waves are written by scripts/generate_waves.py --large into
// the build folder before the test runs (a CTest fixture). Run with
// --gtest_filter=*Slow* for the 20,000-row wave. To record the hashes of the
// planner as it is, run with DALVENOR_PLAN_HASHES_OUT=FILE: every case then
// appends its line to FILE instead of being checked.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"

namespace {

std::uint64_t fnv1a(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string hex(std::uint64_t value) {
  std::ostringstream out;
  out << std::hex << value;
  return out.str();
}

const char* const kGroupings[] = {"AVGDistances", "LeastSquareMethod",
                                  "KMeansClustering", "ChooseBest"};
const char* const kPackers[] = {"BaseLineFFD", "FFD_OneBoxType",
                                "FFDS_MultipleBoxTypes"};

std::string caseName(const std::string& wave, int packer, int grouping) {
  return wave + " " + kPackers[packer] + " " + kGroupings[grouping];
}

// The exported plan of the wave, routed greedily as wave_batch does; two box
// types so that the several-types packer has a choice.
std::string exportedPlan(const std::string& path, int packer, int grouping) {
  SolverConfiguration solver(static_cast<BPAlgorithms>(packer),
                             static_cast<GroupingCustomersAlgorithms>(grouping),
                             GreedyAlgorithm);
  BoxConfiguration boxes;
  boxes.addBox(Box(28, 29, 45, 4000, "masterBox", 1.0f), 1000);
  if (packer == FFDS_MultipleBoxTypes) {
    boxes.addBox(Box(20, 20, 30, 2000, "smallBox", 1.0f), 1000);
  }
  CartConfiguration cartConfig(90, 200, 50, 1.0f, 3);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  is_debug_on = false;
  loader.loadItemsAndSpec(path);
  EXPECT_TRUE(loader.lastLoadSucceeded())
      << path << ": " << loader.lastLoadError();
  loader.loadingCartsRun(solver, cartConfig, boxes);
  return loader.exportCartsToJson(true, true);
}

std::map<std::string, std::string> recordedHashes() {
  std::map<std::string, std::string> hashes;
  std::ifstream in(std::string(DALVENOR_SOURCE_DIR) +
                   "/tests/wave/plan_reference_hashes.txt");
  std::string line;
  while (std::getline(in, line)) {
    const auto cut = line.rfind(' ');
    if (line.empty() || line[0] == '#' || cut == std::string::npos) continue;
    hashes[line.substr(0, cut)] = line.substr(cut + 1);
  }
  return hashes;
}

// Checks (or records) the plan of each case.
void checkPlans(const std::string& wave,
                const std::string& path,
                const std::vector<int>& packers) {
  const char* out = std::getenv("DALVENOR_PLAN_HASHES_OUT");
  const std::map<std::string, std::string> hashes = recordedHashes();
  for (int packer : packers) {
    for (int grouping = 0; grouping < 4; ++grouping) {
      const std::string name = caseName(wave, packer, grouping);
      const std::string hash = hex(fnv1a(exportedPlan(path, packer, grouping)));
      if (out != nullptr) {
        std::ofstream(out, std::ios::app) << name << ' ' << hash << '\n';
        continue;
      }
      auto recorded = hashes.find(name);
      ASSERT_NE(recorded, hashes.end()) << "no recorded plan for " << name;
      EXPECT_EQ(hash, recorded->second) << "the plan of " << name << " changed";
    }
  }
}

std::string bundled(const std::string& name) {
  return std::string(DALVENOR_SOURCE_DIR) + "/data/data_both/" + name;
}

std::string generated(const std::string& name) {
  return std::string(DALVENOR_BINARY_DIR) + "/reference_waves/" + name;
}

TEST(PlanReferenceTest, BundledWavesKeepTheirPlansWithEveryVolumePacker) {
  for (const char* wave :
       {"wave1421886.json", "wave1422014.json", "wave1422131.json",
        "wave1422307.json", "wave1422452.json", "wave1422618.json"}) {
    checkPlans(wave, bundled(wave), {0, 1, 2});
  }
}

TEST(PlanReferenceTest, GeneratedWavesKeepTheirPlans) {
  for (const char* wave : {"large2000.json", "large5000.json"}) {
    checkPlans(wave, generated(wave), {FFD_OneBoxType});
  }
}

TEST(PlanReferenceSlowTest, TwentyThousandRowsKeepTheirPlans) {
  checkPlans("large20000.json", generated("large20000.json"), {FFD_OneBoxType});
}

}  // namespace
