// The plan of one bundled wave, planned with wave_batch's fixed
// configuration, compared byte for byte with the plan stored in
// tests/data/golden_plan_wave1422307.json (what wave_batch writes to
// out.json: the exported plan and a newline). A deliberate change of the
// plan shows in review as a changed file.
//
// To store the plan of the planner as it is, run with
// DALVENOR_GOLDEN_PLAN_OUT=FILE: the plan is then written to FILE instead of
// being checked.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/planning.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"

namespace {

const char* const kWave = "/data/data_both/wave1422307.json";
const char* const kGoldenPlan = "/tests/data/golden_plan_wave1422307.json";

std::string wholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The plan wave_batch writes for the wave, with its fixed configuration.
std::string batchPlan(const std::string& path) {
  is_debug_on = false;
  CartsLoader loader = testing_support::batchPlannedLoader(path);
  EXPECT_TRUE(loader.lastLoadSucceeded()) << loader.lastLoadError();
  return loader.exportCartsToJson(true, true) + "\n";
}

TEST(GoldenPlanTest, BatchWaveKeepsItsStoredPlanByteForByte) {
  const std::string plan = batchPlan(std::string(DALVENOR_SOURCE_DIR) + kWave);
  if (const char* out = std::getenv("DALVENOR_GOLDEN_PLAN_OUT")) {
    std::ofstream(out, std::ios::binary) << plan;
    GTEST_SKIP() << "plan written to " << out;
  }
  const std::string golden =
      wholeFile(std::string(DALVENOR_SOURCE_DIR) + kGoldenPlan);
  ASSERT_FALSE(golden.empty()) << "no stored plan at " << kGoldenPlan;
  std::size_t first = 0;
  while (first < plan.size() && first < golden.size() &&
         plan[first] == golden[first]) {
    ++first;
  }
  EXPECT_EQ(plan.size(), golden.size());
  EXPECT_EQ(first, golden.size())
      << "the plan differs from the stored one at byte " << first << ": "
      << plan.substr(first, 60) << " | " << golden.substr(first, 60);
}

}  // namespace
