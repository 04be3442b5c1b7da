// Whole waves planned with the ShortestWalk grouping, checked end to end
// through the exported plan.

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/route_ends.h"
#include "routing/tsp_solver.h"
#include "support/address_generator.h"
#include "wave/carts_loader.h"
#include "wave_text.h"

namespace {

using testing_support::WaveRow;
using Units = std::map<std::pair<int, int>, int>;  // (customer, product)

// A seeded wave: customers of one to eight lines, every fifth a single unit,
// a few large enough to need two carts, some products sold in cartons.
std::string seededWave(unsigned seed, int customers) {
  std::mt19937 random(seed);
  testing_support::AddressGenerator addresses(seed);
  auto draw = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random);
  };
  std::vector<WaveRow> rows;
  int product = 1;
  for (int c = 0; c < customers; ++c) {
    const int customer = 1000 + c;
    const int lines = c % 5 == 0 ? 1 : draw(1, 8);
    for (int l = 0; l < lines; ++l) {
      WaveRow row{customer, product++, addresses.next(),
                  c % 5 == 0 ? 1 : draw(1, c % 23 == 1 ? 300 : 12)};
      row.x = static_cast<float>(draw(3, 15));
      row.y = static_cast<float>(draw(3, 15));
      row.z = static_cast<float>(draw(3, 15));
      rows.push_back(row);
      if (c % 5 != 0 && draw(0, 3) == 0) {  // a carton of the same product
        WaveRow carton = row;
        carton.unit = 1;
        carton.contentQty = 6;
        carton.x *= 2;
        carton.y *= 3;
        rows.push_back(carton);
      }
    }
  }
  return testing_support::waveText(rows);
}

struct Plan {
  std::string exported;
  std::list<Cart> carts;
  int total = 0;
  grouping_customers::ShortestWalkReport report;
  Units ordered;
};

Plan plan(const std::string& wave,
          GroupingCustomersAlgorithms grouping,
          ShortestPathAlgorithms route) {
  SolverConfiguration solver(FFD_OneBoxType, grouping, route);
  BoxConfiguration boxes;
  boxes.addBox(Box(28, 29, 45, 4000, "masterBox", 1.0f), 1000);
  CartConfiguration cartConfig(90, 200, 50, 1.0f, 3);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  loader.loadItemsAndSpec(wave);
  EXPECT_TRUE(loader.lastLoadSucceeded()) << loader.lastLoadError();
  loader.loadingCartsRun(solver, cartConfig, boxes);
  Plan result{loader.exportCartsToJson(true, true),
              loader.getLoadedCartsList(),
              0,
              loader.lastWalkReport(),
              {}};
  for (const Cart& cart : result.carts) {
    result.total += cart.getEstimatedWalkedDistance();
  }
  for (const OItem& line : loader.getItems()) {
    result.ordered[{line.customerID, line.productID}] += line.qty;
  }
  return result;
}

void addUnits(const nlohmann::json& entries, Units* units) {
  for (const nlohmann::json& entry : entries) {
    (*units)[{entry["Customer"].get<int>(), entry["Product"].get<int>()}] +=
        entry["Qty"].get<int>();
  }
}

TEST(ShortestWalkRunTest, KeepsEveryUnitTheShelfRulesAndTheMeasuredWalks) {
  Warehouse warehouse;
  const std::pair<unsigned, ShortestPathAlgorithms> cases[] = {
      {7, ShortestRoute}, {8, ShortestRoute}, {9, GreedyAlgorithm}};
  for (const auto& [seed, route] : cases) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::string wave = seededWave(seed, 150);
    const Plan walk = plan(wave, ShortestWalk, route);
    const Plan start = plan(wave, ChooseBest, route);

    // Every ordered unit once on a pick list and once on a shelf, and each
    // cart's shelves hold exactly the goods of its pick list.
    const nlohmann::json exported = nlohmann::json::parse(walk.exported);
    Units picked, shelved;
    for (const nlohmann::json& cart : exported) {
      Units cartPicked, cartShelved;
      addUnits(cart["items"], &cartPicked);
      for (const nlohmann::json& shelf : cart["shelves"]) {
        if (!shelf.is_null()) addUnits(shelf, &cartShelved);
      }
      EXPECT_EQ(cartPicked, cartShelved);
      for (const auto& [key, qty] : cartPicked) picked[key] += qty;
      for (const auto& [key, qty] : cartShelved) shelved[key] += qty;
    }
    EXPECT_EQ(picked, walk.ordered);
    EXPECT_EQ(shelved, walk.ordered);

    // Shelf rules, and every distance is the walk of the exported order.
    for (const Cart& cart : walk.carts) {
      for (const CartShelf& shelf : cart.cartShelves) {
        EXPECT_LE(shelf.usedWidth, shelf.width);
        for (const Box& shared : shelf.getBoxes().oneItemized) {
          EXPECT_LE(shared.usedCapacity, shared.capacity);
        }
      }
      EXPECT_EQ(cart.getEstimatedWalkedDistance(),
                tsp_solver::justMeasureDistance(cart.cartOItems, warehouse,
                                                routeStart(), routeEnd()));
    }

    // Never longer nor more carts than the grouping it started from, and
    // the search measured what the run then routed.
    EXPECT_LE(walk.total, start.total);
    EXPECT_LE(walk.carts.size(), start.carts.size());
    EXPECT_EQ(walk.report.startLength, start.total);
    EXPECT_EQ(walk.report.finalLength, walk.total);
    EXPECT_EQ(walk.report.startCarts, static_cast<int>(start.carts.size()));
    EXPECT_LT(walk.total, start.total);

    EXPECT_EQ(plan(wave, ShortestWalk, route).exported, walk.exported);
  }
}

}  // namespace
