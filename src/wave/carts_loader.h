#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "geometry/route_ends.h"
#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"
#include "grouping/shortest_walk.h"
#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/oitem.h"
#include "model/setup_configuration.h"
#include "wave/recorded_walks.h"

// Told while a planning run works: the step ("packing", "grouping" and the
// grouping's name, "routing"), how many of its customers or carts are done
// and how many there are. Each step ends with a call where done == total.
using PlanningProgress = std::function<void(
    const std::string& step, std::size_t done, std::size_t total)>;

// Everything one wave produces: its order lines, its customers and the
// planned carts, with the loader's own copy of the distance oracle.
//
// Usage: load a wave, plan it, export the plan.
//
//   Warehouse warehouse;
//   CartsLoader loader(warehouse);
//   loader.loadItemsAndSpec("wave1422307.json");
//   if (loader.lastLoadSucceeded()) {  // else lastLoadError() says why
//     PlanningSetup setup = batchConfiguration();  // wave/planning_setup.h
//     loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
//     std::string plan = loader.exportCartsToJson(true, true);
//   }
//
// The members are defined by concern: loading in wave_loading.cpp, planning
// in planning_run.cpp, the export in export.cpp (wave/export.h), the
// statistics in stats.cpp (wave/stats.h) and the recorded-walk replay in
// recorded_picking.cpp (wave/recorded_walks.h).
class CartsLoader {
 public:
  explicit CartsLoader(Warehouse& warehouse) : warehouse(warehouse) {}

  // Loads a wave from a file path or from the JSON text itself. Bad input
  // leaves no lines and writes one "ERROR> " line; never throws for it.
  // Addresses beyond the floor plan's racks, and rows that repeat a
  // customer, product and unit type with another quantity or address, are
  // loaded with one "WARNING: " line each.
  void loadItemsAndSpec(std::string source);
  // Loads a wave from rows already parsed (a JSON array of row objects; an
  // object's member values, and null for none, as for a wave file). `source`
  // names the rows in messages in place of a file name. Never reads a file,
  // whatever the rows hold; reports as loadItemsAndSpec does.
  void loadItemsFromRows(const nlohmann::json& rows, const std::string& source);
  // False after a load that wrote the error line.
  bool lastLoadSucceeded() const { return loadSucceeded; }
  // Why the last load failed, naming the file (or "wave text"), the row
  // number (rows count from 1), the key and the value, e.g.
  // wave.json row 17: "AddressCode" "X000104018": unknown sector
  // Empty after a load that succeeded.
  const std::string& lastLoadError() const { return loadError; }

  // Packs, groups and routes the loaded wave; the plan replaces carts.
  void loadingCartsRun(SolverConfiguration& solver,
                       CartConfiguration& cartConfig,
                       BoxConfiguration& boxes);
  // Runs the three groupings with greedy routes and returns the number of
  // the one whose total is shortest (the earlier one on a tie). Side effect:
  // each trial replaces carts, so afterwards carts holds the last trial's
  // (KMeansClustering) plan, not the winner's; the planning run groups again
  // with the number returned.
  short chooseBestAlgorithm(SolverConfiguration& solver,
                            CartConfiguration& cartConfig,
                            CustomerMultimap customerOrder);

  // Progress of the next runs goes to this callback (none: no reports).
  void setProgress(PlanningProgress callback) {
    progress = std::move(callback);
  }

  // The carts' exported plan (exportCarts).
  std::string exportCartsToJson(bool includeShelves, bool includeItems);
  std::list<Cart> getLoadedCartsList() const { return carts; }
  // The tab-separated per-cart table (stats::eachCartStats).
  std::string getStats();

  // Measures the walks recorded in a picking file. Throws std::runtime_error
  // naming the path for a missing file, std::invalid_argument naming the
  // path (and the row, key and value) for content that cannot be read.
  void testUsedData(std::string path);
  // The same measurement, returned instead of reported.
  WalkTotals measureUsedData(const std::string& path);
  // The same measurement of rows already parsed, named `source` in messages
  // (std::invalid_argument as above); never reads a file.
  WalkTotals measureUsedRows(const nlohmann::json& rows,
                             const std::string& source);

  // Read-only views for callers and tests.
  const std::vector<OItem>& getItems() const { return items; }
  const std::map<int, Customer>& getCustomers() const { return customers; }
  // What the ShortestWalk search of the last run did (empty before one).
  const grouping_customers::ShortestWalkReport& lastWalkReport() const {
    return walkReport;
  }

 private:
  // Replaces the order lines with what readLines gives, or with none and the
  // error line when it throws; readLines appends the load's warnings.
  void loadFrom(const std::function<std::vector<OItem>(
                    std::vector<std::string>* warnings)>& readLines);

  Warehouse warehouse;
  std::vector<OItem> items;
  std::map<int, Customer> customers;
  std::list<Cart> carts;
  grouping_customers::ShortestWalkReport walkReport;
  PlanningProgress progress;
  bool loadSucceeded = false;
  std::string loadError;
};
