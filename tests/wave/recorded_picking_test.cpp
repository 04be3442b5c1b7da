#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/planning_setup.h"
#include "wave/wave_text.h"

namespace {

using testing_support::WaveRow;
using testing_support::waveText;

class RecordedPickingTest : public testing::Test {
 protected:
  Warehouse warehouse;
  CartsLoader loader{warehouse};
  std::filesystem::path path =
      testing_support::uniqueTempPath("dalvenor_recorded");

  WalkTotals measure(const std::string& text) {
    std::ofstream(path) << text;
    return loader.measureUsedData(path.string());
  }
  void TearDown() override {
    std::filesystem::remove(path);
    is_debug_on = false;
  }
};

TEST_F(RecordedPickingTest, WalksHighestRankFirstFromStartToEnd) {
  // Ranks 1, 3, 2 are walked 3, 2, 1: G, V, P is the route of 1852 dm.
  WalkTotals totals =
      measure(waveText({{1, 1, "P000101010", 1, 0, 1, 1, 1, 1, 1, 7, 1},
                        {1, 2, "G000502017", 1, 0, 1, 1, 1, 1, 1, 7, 3},
                        {1, 3, "VCC0001005", 1, 0, 1, 1, 1, 1, 1, 7, 2}}));
  EXPECT_EQ(totals.totalDistance, 1852);
  EXPECT_EQ(totals.carts, 1);
  // A single row: start, the address, end (234 + 494).
  EXPECT_EQ(measure(waveText({{1, 2, "G000502017", 1}})).totalDistance, 728);
}

TEST_F(RecordedPickingTest, CartsAreMeasuredInOrderOfFirstAppearance) {
  is_debug_on = true;
  std::ofstream(path) << waveText(
      {{1, 2, "G000502017", 1, 0, 1, 1, 1, 1, 1, 5, 1},
       {1, 3, "VCC0001005", 1, 0, 1, 1, 1, 1, 1, 2, 1},
       {1, 4, "VCC0001005", 1, 0, 1, 1, 1, 1, 1, 5, 2}});
  testing::internal::CaptureStderr();
  loader.testUsedData(path.string());
  // Cart 5: V then G (234 + 376 + ... ), cart 2: V alone.
  std::string err = testing::internal::GetCapturedStderr();
  WalkTotals totals = loader.measureUsedData(path.string());
  EXPECT_EQ(totals.carts, 2);
  EXPECT_EQ(err,
            "WHOLE DISTANCE [dm]: " + std::to_string(totals.totalDistance) +
                ", AVG DISTANCE PER CART: " +
                std::to_string(totals.totalDistance / 2) + "\n");
  EXPECT_EQ(totals.totalDistance, (246 + 376 + 494) + (246 + 566));
}

TEST_F(RecordedPickingTest, OnlyTheFiveKeysAreNeeded) {
  EXPECT_EQ(measure(R"([{"Customer":1,"Product":2,"AddressCode":"G000502017",)"
                    R"("Cart":4,"AddressRank":1}])")
                .totalDistance,
            728);
}

TEST_F(RecordedPickingTest, NoRowsPrintAnAverageOfZero) {
  is_debug_on = true;
  std::ofstream(path) << "[]";
  testing::internal::CaptureStderr();
  loader.testUsedData(path.string());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "WHOLE DISTANCE [dm]: 0, AVG DISTANCE PER CART: 0\n");
}

// Each failure names the path and the reason; bad content is bad input.
TEST_F(RecordedPickingTest, MissingOrUnreadableFilesThrowNamingPathAndReason) {
  is_debug_on = true;
  testing::internal::CaptureStderr();
  auto failureOf = [&](const std::string& text) -> std::string {
    try {
      measure(text);
    } catch (const std::invalid_argument& e) {
      return e.what();
    }
    return "no std::invalid_argument";
  };
  const std::string at = path.string() + " row 1: ";
  EXPECT_EQ(failureOf(R"([{"Customer":1}])"), at + "\"Product\": missing");
  EXPECT_EQ(failureOf("[{").rfind(path.string() + ": no valid JSON: ", 0), 0u);
  EXPECT_EQ(failureOf(R"([{"Customer":1,"Product":2,"AddressCode":"G0",)"
                      R"("Cart":4,"AddressRank":1}])"),
            at + "\"AddressCode\" \"G0\": has 2 characters, not 10");
  // Walks past a point as far away as cell 9e9 are not measured.
  EXPECT_EQ(failureOf(waveText({{1, 1, "G0005019e9", 1}})),
            at + "\"AddressCode\" \"G0005019e9\": no digits at positions 7-9 "
                 "(cell)");
  EXPECT_EQ(failureOf(R"([{"Customer":1,"Product":2,"AddressCode":)"
                      R"("G000502017","Cart":1099511627776,"AddressRank":1}])"),
            at + "\"Cart\" 1099511627776: outside the int range");
  try {
    loader.testUsedData("/no/such/recorded.json");
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "/no/such/recorded.json: no such recorded picking file");
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(RecordedPickingTest, ComparisonLeavesThePlanAlone) {
  PlanningSetup setup = batchConfiguration();
  std::string wave = waveText({{1, 2, "G000502017", 3}});
  loader.loadItemsAndSpec(wave);
  loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
  std::string plan = loader.exportCartsToJson(true, true);
  measure(wave);
  EXPECT_EQ(loader.exportCartsToJson(true, true), plan);
}

}  // namespace
