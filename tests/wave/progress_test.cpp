#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/planning_setup.h"

namespace {

struct Report {
  std::string step;
  std::size_t done;
  std::size_t total;
};

// The reports of one planning run of a bundled wave with the grouping.
std::vector<Report> reportsOf(GroupingCustomersAlgorithms grouping) {
  SolverConfiguration solver(FFD_OneBoxType, grouping, GreedyAlgorithm);
  PlanningSetup batch = batchConfiguration();
  BoxConfiguration& boxes = batch.boxes;
  CartConfiguration& cartConfig = batch.cartConfig;
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  std::vector<Report> reports;
  loader.setProgress(
      [&](const std::string& step, std::size_t done, std::size_t total) {
        reports.push_back({step, done, total});
      });
  is_debug_on = false;
  loader.loadItemsAndSpec(std::string(DALVENOR_SOURCE_DIR) +
                          "/data/data_both/wave1422014.json");
  loader.loadingCartsRun(solver, cartConfig, boxes);
  EXPECT_EQ(reports.back().step, "routing");
  EXPECT_EQ(reports.back().total, loader.getLoadedCartsList().size());
  return reports;
}

// The steps in order, each listed once, after checking that every step
// counts up and ends with done == total.
std::vector<std::string> stepsOf(const std::vector<Report>& reports) {
  std::vector<std::string> steps;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const Report& r = reports[i];
    const bool first = steps.empty() || steps.back() != r.step;
    if (first) {
      if (i > 0) {
        EXPECT_EQ(reports[i - 1].done, reports[i - 1].total)
            << reports[i - 1].step << " ended early";
      }
      steps.push_back(r.step);
    } else {
      EXPECT_GE(r.done, reports[i - 1].done) << r.step << " counted down";
    }
    EXPECT_LE(r.done, r.total) << r.step;
  }
  EXPECT_EQ(reports.back().done, reports.back().total);
  return steps;
}

TEST(ProgressTest, ARunReportsPackingGroupingAndRoutingToTheEnd) {
  std::vector<Report> reports = reportsOf(KMeansClustering);
  EXPECT_EQ(stepsOf(reports),
            std::vector<std::string>(
                {"packing", "grouping KMeansClustering", "routing"}));
  EXPECT_EQ(reports.front().done, 1u);
}

TEST(ProgressTest, ChoosingTheBestReportsEveryTrialThenTheFinalRun) {
  std::vector<std::string> steps = stepsOf(reportsOf(ChooseBest));
  ASSERT_EQ(steps.size(), 9u);
  // Least squares runs beside the other two trials and is reported done
  // after them.
  EXPECT_EQ(
      std::vector<std::string>(steps.begin(), steps.begin() + 7),
      std::vector<std::string>({"packing", "grouping AVGDistances", "routing",
                                "grouping KMeansClustering", "routing",
                                "grouping LeastSquareMethod", "routing"}));
  EXPECT_EQ(steps[7].rfind("grouping ", 0), 0u);  // the winner, once more
  EXPECT_EQ(steps[8], "routing");
}

}  // namespace
