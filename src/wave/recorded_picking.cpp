// Replaying the walks pickers recorded, measured with the planner's own
// distance model, start and end points.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "routing/tsp_solver.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/json_fields.h"
#include "wave/json_files.h"
#include "wave/planning_steps.h"
#include "wave/recorded_walks.h"

namespace {

// One row of a recorded picking as a pick line; the rank travels in the
// quantity field. Throws std::invalid_argument naming the key and value.
std::pair<int, CartOItem> readRecordedRow(const nlohmann::json& row) {
  int customer = wave_fields::readInt(row, "Customer");
  int product = wave_fields::readInt(row, "Product");
  std::string address = wave_fields::readAddress(row);
  int cart = wave_fields::readInt(row, "Cart");
  int rank = wave_fields::readInt(row, "AddressRank");
  return {cart, CartOItem(OItem(customer, product, std::move(address), rank))};
}

// The walks measured from the route start to the route end.
WalkTotals measureWalks(const std::vector<RecordedWalk>& walks,
                        Warehouse& warehouse) {
  const SECTOR_ADDR_T start = routeStart();
  const SECTOR_ADDR_T end = routeEnd();
  WalkTotals totals;
  for (const RecordedWalk& walk : walks) {
    totals.totalDistance = planning_steps::addDistance(
        totals.totalDistance,
        tsp_solver::justMeasureDistance(walk.lines, warehouse, start, end));
  }
  totals.carts = static_cast<int>(walks.size());
  return totals;
}

}  // namespace

std::vector<RecordedWalk> recordedWalksOf(const nlohmann::json& rows,
                                          const std::string& source) {
  std::multimap<int, CartOItem> linesByCart;
  std::vector<int> cartNumbers;
  std::size_t number = 0;
  for (const nlohmann::json& row : rows) {
    ++number;
    try {
      auto [cart, line] = readRecordedRow(row);
      if (linesByCart.find(cart) == linesByCart.end()) {
        cartNumbers.push_back(cart);
      }
      linesByCart.emplace(cart, std::move(line));
    } catch (const std::exception& e) {
      throw std::invalid_argument(source + " row " + std::to_string(number) +
                                  ": " + e.what());
    }
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
  if (!std::filesystem::exists(path)) {
    throw std::runtime_error(path + ": no such recorded picking file");
  }
  nlohmann::json document;
  try {
    document = readJsonFromFile(path);
  } catch (const std::exception& e) {
    throw std::invalid_argument(
        path + ": no valid JSON: " + wave_fields::jsonReason(e));
  }
  return recordedWalksOf(document, path);
}

WalkTotals CartsLoader::measureUsedData(const std::string& path) {
  return measureWalks(readRecordedWalks(path), warehouse);
}

WalkTotals CartsLoader::measureUsedRows(const nlohmann::json& rows,
                                        const std::string& source) {
  return measureWalks(recordedWalksOf(rows, source), warehouse);
}

void CartsLoader::testUsedData(std::string path) {
  WalkTotals totals = measureUsedData(path);
  if (is_debug_on) {
    planning_steps::printWholeDistance(totals.totalDistance,
                                       static_cast<std::size_t>(totals.carts));
  }
}
