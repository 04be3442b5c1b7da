#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "routing/tsp_solver.h"
#include "support/lines.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/planning_setup.h"
#include "wave/planning_steps.h"
#include "wave/wave_text.h"

namespace {

using testing_support::WaveRow;
using testing_support::waveText;

const char* const kAddresses[] = {"G000502017", "VCC0001005", "P000101010",
                                  "GP00301012", "G000102100", "VBB0001150",
                                  "P000203045", "GP00701010", "G000602020",
                                  "VAA0002030", "G000302030", "P000401020"};

struct Plan {
  PlanningSetup setup = batchConfiguration();
  SolverConfiguration& solver = setup.solver;
  CartConfiguration& cartConfig = setup.cartConfig;
  BoxConfiguration& boxes = setup.boxes;
  Warehouse warehouse;
  CartsLoader loader{warehouse};
  void run(const std::string& wave) {
    loader.loadItemsAndSpec(wave);
    loader.loadingCartsRun(solver, cartConfig, boxes);
  }
};

class PlanningRunTest : public testing::Test {
 protected:
  void TearDown() override { is_debug_on = false; }
};

std::vector<int> products(const std::vector<CartOItem>& lines) {
  std::vector<int> ids;
  for (const CartOItem& l : lines) ids.push_back(l.oItem.productID);
  return ids;
}

TEST_F(PlanningRunTest, RouteSettingsPickTheSolverByCartSize) {
  Warehouse warehouse;
  const SECTOR_ADDR_T start = routeStart(), end = routeEnd();
  std::mt19937 rng(5);
  auto randomCart = [&](int lines) {
    Cart cart;
    for (int i = 0; i < lines; ++i) {
      const char* address = kAddresses[rng() % 12];
      cart.addOItemWithQty(OItem(1, 100 + i, address, 1), 1);
    }
    return cart;
  };
  for (int n : {9, 10}) {
    // A cart on which the three solvers give three different routes.
    Cart cart;
    std::vector<CartOItem> brute, nearest, greedy;
    int bruteLength = 0, nearestLength = 0, greedyLength = 0;
    for (int attempt = 0; attempt < 200; ++attempt) {
      cart = randomCart(n);
      brute.clear(), nearest.clear(), greedy.clear();
      bruteLength = tsp_solver::bruteForce(cart.cartOItems, warehouse, &brute,
                                           start, end);
      nearestLength = tsp_solver::nearestNeighbour(cart.cartOItems, warehouse,
                                                   &nearest, start, end);
      greedyLength = tsp_solver::greedyAlgorithm(cart.cartOItems, warehouse,
                                                 &greedy, start, end);
      if (bruteLength < nearestLength && bruteLength < greedyLength &&
          nearestLength != greedyLength) {
        break;
      }
    }
    ASSERT_LT(bruteLength, nearestLength);
    ASSERT_LT(bruteLength, greedyLength);
    ASSERT_NE(nearestLength, greedyLength);
    Cart one = cart, three = cart;
    int d1 =
        planning_steps::routeCart(one, BruteForceOrNearestNeighbour, warehouse);
    int d3 = planning_steps::routeCart(three, BruteForceOrGreedy, warehouse);
    EXPECT_EQ(d1, n <= 9 ? bruteLength : nearestLength) << n;
    EXPECT_EQ(products(one.cartOItems), products(n <= 9 ? brute : nearest));
    EXPECT_EQ(d3, n <= 9 ? bruteLength : greedyLength) << n;
    EXPECT_EQ(products(three.cartOItems), products(n <= 9 ? brute : greedy));
    EXPECT_EQ(one.getEstimatedWalkedDistance(), d1);
    Cart five = cart;
    std::vector<CartOItem> shortest;
    EXPECT_EQ(planning_steps::routeCart(five, ShortestRoute, warehouse),
              tsp_solver::shortestRoute(cart.cartOItems, warehouse, &shortest,
                                        start, end));
    EXPECT_EQ(products(five.cartOItems), products(shortest));
  }
}

TEST_F(PlanningRunTest, MeasureKeepsTheOrderAndUnknownSettingsAddNothing) {
  Warehouse warehouse;
  Cart measured, unknown;
  for (const char* address : {"VCC0001005", "G000502017", "P000101010"}) {
    measured.addOItemWithQty(OItem(1, address[0], address, 1), 1);
    unknown.addOItemWithQty(OItem(1, address[0], address, 1), 1);
  }
  auto order = products(measured.cartOItems);
  EXPECT_EQ(planning_steps::routeCart(measured, JustMeasureDistance, warehouse),
            1630);
  EXPECT_EQ(products(measured.cartOItems), order);
  EXPECT_EQ(measured.getEstimatedWalkedDistance(), 1630);
  EXPECT_EQ(planning_steps::routeCart(
                unknown, static_cast<ShortestPathAlgorithms>(7), warehouse),
            0);
  EXPECT_EQ(products(unknown.cartOItems), order);
  EXPECT_EQ(unknown.getEstimatedWalkedDistance(), 0);
}

TEST_F(PlanningRunTest, CustomersOfEqualTruncatedVolumeKeepCustomerOrder) {
  // Volumes 1600, 1500.7 (customer 2) and 1500.2 (customer 1), one address.
  Plan plan;
  plan.run(waveText({{1, 11, "G000502017", 1, 0, 1, 1500.2f, 1, 1},
                     {2, 12, "G000502017", 1, 0, 1, 1500.7f, 1, 1},
                     {3, 13, "G000502017", 1, 0, 1, 1600, 1, 1}}));
  auto carts = plan.loader.getLoadedCartsList();
  ASSERT_EQ(carts.size(), 1u);
  std::vector<int> order;
  for (const Customer& c : carts.front().customers)
    order.push_back(c.customerID);
  EXPECT_EQ(order, std::vector<int>({3, 1, 2}));
}

TEST_F(PlanningRunTest, UnknownGroupingSettingsGroupByAverageDistances) {
  std::vector<WaveRow> rows;
  for (int c = 0; c < 30; ++c) {
    rows.push_back({100 + c, 500 + c, kAddresses[c % 12], 1 + c % 7, 0, 1,
                    10.0f + c, 12, 14});
  }
  Plan avg, five;
  five.solver = SolverConfiguration(FFD_OneBoxType,
                                    static_cast<GroupingCustomersAlgorithms>(5),
                                    GreedyAlgorithm);
  avg.run(waveText(rows));
  five.run(waveText(rows));
  EXPECT_EQ(avg.loader.exportCartsToJson(true, true),
            five.loader.exportCartsToJson(true, true));
}

TEST_F(PlanningRunTest, BestTrialKeepsTheEarlierOnTies) {
  EXPECT_EQ(planning_steps::bestTrial({500, 500, 500}), 0);
  EXPECT_EQ(planning_steps::bestTrial({900, 800, 800}), 1);
  EXPECT_EQ(planning_steps::bestTrial({900, 900, 800}), 2);
}

TEST_F(PlanningRunTest, ChooseBestWritesEachTrialThenTheFinalRun) {
  is_debug_on = true;
  Plan plan;
  plan.solver =
      SolverConfiguration(FFD_OneBoxType, ChooseBest, GreedyAlgorithm);
  plan.loader.loadItemsAndSpec(
      waveText({{1, 11, "G000502017", 2}, {2, 12, "VCC0001005", 1}}));
  testing::internal::CaptureStderr();
  plan.loader.loadingCartsRun(plan.solver, plan.cartConfig, plan.boxes);
  std::string err = testing::internal::GetCapturedStderr();
  const std::string whole = "WHOLE DISTANCE [dm]: ";
  auto at = [&](const std::string& s, std::size_t from = 0) {
    return err.find(s, from);
  };
  ASSERT_EQ(err.rfind("TOTAL BOXES AFTER DECOMPOSITION: 2\n", 0), 0u) << err;
  std::size_t avg = at("AVG DISTANCES ALGORITHM\n");
  std::size_t lsq = at("LEAST SQUARE METHOD\n");
  std::size_t km = at("K MEANS CLUSTERING\n");
  ASSERT_NE(km, std::string::npos) << err;
  EXPECT_LT(avg, at(whole, avg));
  EXPECT_LT(at(whole, avg), lsq);
  EXPECT_LT(at(whole, lsq), km);
  std::size_t afterKm = at(whole, km);
  EXPECT_NE(at(whole, afterKm + 1), std::string::npos);  // the final run
}

TEST_F(PlanningRunTest, AnEmptyLoadLeavesTheEarlierPlan) {
  Plan plan;
  plan.run(waveText({{1, 11, "G000502017", 2}}));
  std::string before = plan.loader.exportCartsToJson(true, true);
  plan.run("[]");
  EXPECT_EQ(plan.loader.exportCartsToJson(true, true), before);
  EXPECT_NE(before, "null");
}

TEST_F(PlanningRunTest, ALineWithoutUnitSpecificationReachesTheCaller) {
  Plan plan;
  plan.loader.loadItemsAndSpec(
      waveText({{1, 11, "G000502017", 6, 1, 3}}));  // a package row only
  EXPECT_THROW(
      plan.loader.loadingCartsRun(plan.solver, plan.cartConfig, plan.boxes),
      std::exception);
}

TEST_F(PlanningRunTest, WholeDistanceOfNoCartsPrintsAnAverageOfZero) {
  testing::internal::CaptureStderr();
  planning_steps::printWholeDistance(0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "WHOLE DISTANCE [dm]: 0, AVG DISTANCE PER CART: 0\n");
}

// "G0005019e9" reads its cell as 9e9 (the loader refuses such a text; a
// caller of the library may still build the line): its plan point lies so
// far away that every route past it is clamped to the largest int. Totals
// over several such carts stay there instead of wrapping to a negative
// number.
TEST_F(PlanningRunTest, WholeDistancesOfFarCartsSaturate) {
  Warehouse warehouse;
  Cart cart;
  cart.addOItemWithQty(OItem(1, 11, "G0005019e9", 1), 1);
  const int length =
      planning_steps::routeCart(cart, GreedyAlgorithm, warehouse);
  EXPECT_EQ(length, INT_MAX);
  EXPECT_EQ(cart.getEstimatedWalkedDistance(), INT_MAX);
  const int total = planning_steps::addDistance(length, length);
  EXPECT_EQ(total, INT_MAX);
  EXPECT_EQ(planning_steps::addDistance(INT_MIN, -1), INT_MIN);
  testing::internal::CaptureStderr();
  planning_steps::printWholeDistance(total, 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "WHOLE DISTANCE [dm]: 2147483647, AVG DISTANCE PER CART: "
            "1073741823\n");
}

// The entries where two unit tallies disagree, as text.
std::string differences(const std::map<std::pair<int, int>, long>& got,
                        const std::map<std::pair<int, int>, long>& want) {
  std::string text;
  auto describe = [&](const std::pair<int, int>& key) {
    auto g = got.find(key), w = want.find(key);
    text += "(" + std::to_string(key.first) + "," + std::to_string(key.second) +
            "): got " + std::to_string(g == got.end() ? 0 : g->second) +
            " want " + std::to_string(w == want.end() ? 0 : w->second) + "; ";
  };
  for (const auto& [key, units] : got) {
    auto w = want.find(key);
    if (w == want.end() || w->second != units) describe(key);
  }
  for (const auto& [key, units] : want) {
    if (!got.count(key)) describe(key);
  }
  return text;
}

// Nothing is lost end to end: for random waves, every 1D packer and every
// grouping, with greedy and with shortest routes, the exported pick lists
// and shelves each hold exactly the ordered units, and every cart's distance
// is its exported route measured from the start to the end point.
TEST_F(PlanningRunTest, ExportedPlansHoldEveryOrderedUnit) {
  std::mt19937 rng(99);
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  for (int waveSize : {1, 12, 60, 150}) {
    std::vector<WaveRow> rows;
    std::map<std::pair<int, int>, long> ordered;
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < waveSize; ++i) {
      int customer = 1000 + pick(0, waveSize / 3);
      int product = 200 + pick(0, 40);
      if (!seen.insert({customer, product}).second) continue;
      int qty = pick(0, 5) == 0 ? 0 : pick(1, pick(0, 4) == 0 ? 80 : 4);
      float x = pick(0, 15) == 0 ? 60.0f : pick(2, 20);
      rows.push_back({customer, product, kAddresses[pick(0, 11)], qty, 0, 1, x,
                      static_cast<float>(pick(2, 20)),
                      static_cast<float>(pick(2, 30))});
      if (pick(0, 3) == 0) {
        WaveRow package = rows.back();
        package.unit = 1;
        package.contentQty = pick(2, 12);
        package.x *= 3;
        rows.push_back(package);
      }
      if (qty > 0) ordered[{customer, product}] = qty;
    }
    for (BPAlgorithms bp :
         {BaseLineFFD, FFD_OneBoxType, FFDS_MultipleBoxTypes}) {
      for (int grouping = 0; grouping <= 3; ++grouping) {
        // Greedy routes, and shortest routes for every second combination.
        const ShortestPathAlgorithms route =
            (bp + grouping) % 2 == 0 ? GreedyAlgorithm : ShortestRoute;
        Plan plan;
        plan.boxes.addBox(Box(20, 20, 20, 1000, "small", 1.0f), 100);
        plan.solver = SolverConfiguration(
            bp, static_cast<GroupingCustomersAlgorithms>(grouping), route);
        plan.run(waveText(rows));
        auto document =
            nlohmann::json::parse(plan.loader.exportCartsToJson(true, true));
        std::map<std::pair<int, int>, long> items, shelves;
        for (const auto& cart : document) {
          for (const auto& l : cart["items"]) {
            items[{l["Customer"], l["Product"]}] += l["Qty"].get<int>();
          }
          for (const auto& shelf : cart["shelves"]) {
            if (shelf.is_null()) continue;
            for (const auto& p : shelf) {
              shelves[{p["Customer"], p["Product"]}] += p["Qty"].get<int>();
            }
          }
        }
        std::erase_if(items, [](const auto& e) { return e.second == 0; });
        std::string where = "size " + std::to_string(waveSize) + " bp " +
                            std::to_string(bp) + " grouping " +
                            std::to_string(grouping) + " route " +
                            std::to_string(route);
        EXPECT_EQ(differences(items, ordered), "") << where << " items";
        EXPECT_EQ(differences(shelves, ordered), "") << where << " shelves";
        for (const Cart& cart : plan.loader.getLoadedCartsList()) {
          EXPECT_EQ(
              cart.getEstimatedWalkedDistance(),
              tsp_solver::justMeasureDistance(cart.cartOItems, plan.warehouse,
                                              routeStart(), routeEnd()))
              << where;
        }
      }
    }
  }
}

}  // namespace
