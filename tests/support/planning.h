#pragma once

// A wave planned as wave_batch plans it, for the tests and the benchmarks.

#include <string>

#include "geometry/warehouse.h"
#include "wave/carts_loader.h"
#include "wave/planning_setup.h"

namespace testing_support {

// The wave (a file path or the JSON text) loaded and planned with
// wave_batch's fixed configuration on a loader of its own.
inline CartsLoader batchPlannedLoader(const std::string& wave) {
  PlanningSetup setup = batchConfiguration();
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  loader.loadItemsAndSpec(wave);
  loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
  return loader;
}

}  // namespace testing_support
