// Replaying the walks pickers recorded, measured with the planner's own
// distance model, start and end points.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <vector>

#include "routing/tsp_solver.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/helper.h"
#include "wave/json_fields.h"
#include "wave/planning_steps.h"
#include "wave/recorded_walks.h"

std::vector<RecordedWalk> recordedWalksOf(const nlohmann::json& rows) {
  std::multimap<int, CartOItem> linesByCart;
  std::vector<int> cartNumbers;
  for (const nlohmann::json& row : rows) {
    int customer = wave_fields::readInt(row, "Customer");
    int product = wave_fields::readInt(row, "Product");
    std::string address = wave_fields::readString(row, "AddressCode");
    int cart = wave_fields::readInt(row, "Cart");
    int rank = wave_fields::readInt(row, "AddressRank");
    // The rank travels in the quantity field.
    CartOItem line(OItem(customer, product, address, rank));
    if (linesByCart.find(cart) == linesByCart.end()) {
      cartNumbers.push_back(cart);
    }
    linesByCart.emplace(cart, std::move(line));
  }

  std::vector<RecordedWalk> walks;
  for (int cart : cartNumbers) {
    RecordedWalk walk{cart, {}};
    auto [first, last] = linesByCart.equal_range(cart);
    for (auto it = first; it != last; ++it) walk.lines.push_back(it->second);
    // Highest rank first; equal ranks keep file order.
    std::stable_sort(walk.lines.begin(), walk.lines.end(),
                     [](const CartOItem& a, const CartOItem& b) {
                       return a.oItem.qty > b.oItem.qty;
                     });
    walks.push_back(std::move(walk));
  }
  return walks;
}

std::vector<RecordedWalk> readRecordedWalks(const std::string& path) {
  if (!std::filesystem::exists(path)) throw std::exception();
  return recordedWalksOf(readJsonFromFile(path));
}

WalkTotals CartsLoader::measureUsedData(const std::string& path) {
  const SECTOR_ADDR_T start = routeStart();
  const SECTOR_ADDR_T end = routeEnd();
  const std::vector<RecordedWalk> walks = readRecordedWalks(path);
  WalkTotals totals;
  for (const RecordedWalk& walk : walks) {
    totals.totalDistance = planning_steps::addDistance(
        totals.totalDistance,
        tsp_solver::justMeasureDistance(walk.lines, warehouse, start, end));
  }
  totals.carts = static_cast<int>(walks.size());
  return totals;
}

void CartsLoader::testUsedData(std::string path) {
  WalkTotals totals = measureUsedData(path);
  if (is_debug_on) {
    planning_steps::printWholeDistance(totals.totalDistance,
                                       static_cast<std::size_t>(totals.carts));
  }
}
