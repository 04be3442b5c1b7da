// Plans on several threads at once, each with loader and warehouse objects
// of its own: one-dimensional and three-dimensional packing (through the
// one embedded interpreter), brute-force routes (through the factorial
// memo) and the debug switch read meanwhile. Every plan must equal the one
// planned alone, and the load entry for parsed rows must never read a file.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "routing/tsp_solver.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/planning_setup.h"

namespace {

const std::string kWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1421886.json";

std::string planOf(const nlohmann::json& rows, BPAlgorithms packer) {
  SolverConfiguration solver(packer, AVGDistances, BruteForceOrGreedy);
  PlanningSetup batch = batchConfiguration();
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  loader.loadItemsFromRows(rows, "request");
  loader.loadingCartsRun(solver, batch.cartConfig, batch.boxes);
  return loader.exportCartsToJson(true, true);
}

TEST(ConcurrentPlanningTest, ThreadsPlanAsOneThreadAlonePlans) {
  std::ifstream in(kWave);
  const nlohmann::json rows = nlohmann::json::parse(in);
  const BPAlgorithms packers[] = {FFD_OneBoxType, BP3D_OneBox};
  const std::string alone[] = {planOf(rows, packers[0]),
                               planOf(rows, packers[1])};
  ASSERT_NE(alone[0], "null");

  constexpr int kThreads = 4;
  constexpr int kRounds = 3;
  std::vector<std::string> plans(kThreads * kRounds);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int r = 0; r < kRounds; ++r) {
        plans[t * kRounds + r] = planOf(rows, packers[t % 2]);
        is_debug_on = false;
        EXPECT_EQ(factorial(9), 362880);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int r = 0; r < kRounds; ++r) {
      EXPECT_EQ(plans[t * kRounds + r], alone[t % 2]) << "thread " << t;
    }
  }
}

TEST(ConcurrentPlanningTest, RowsThatNameAFileAreNeverLoadedFromIt) {
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  loader.loadItemsFromRows(nlohmann::json(kWave), "request");
  EXPECT_FALSE(loader.lastLoadSucceeded());
  EXPECT_TRUE(loader.getItems().empty());
  EXPECT_EQ(loader.lastLoadError().rfind("request row 1: ", 0), 0u)
      << loader.lastLoadError();

  std::ifstream in(kWave);
  loader.loadItemsFromRows(nlohmann::json::parse(in), "request");
  EXPECT_TRUE(loader.lastLoadSucceeded());
  EXPECT_EQ(loader.getItems().size(), 38u);
}

}  // namespace
