// A 5,000-line wave planned end to end with the ShortestWalk grouping and
// ShortestRoute routes, at the default effort: loading, packing, ChooseBest's
// three groupings, the walk search and the final routes. The counters split
// the search's time into screening, loading checks and routing.
//
// DALVENOR_BENCH_WAVE names a wave file to plan instead of the synthetic
// 5,000-line wave (for example one written by scripts/generate_waves.py).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "wave/carts_loader.h"
#include "wave/planning_setup.h"
#include "wave_fixtures.h"

namespace {

void BM_ShortestWalk_PlanWave(benchmark::State& state) {
  const char* file = std::getenv("DALVENOR_BENCH_WAVE");
  const std::string wave = file != nullptr
                               ? std::string(file)
                               : bench_support::syntheticWave(650, 5000);
  state.SetLabel(file != nullptr ? file : "synthetic 5000 lines");
  SolverConfiguration solver(FFD_OneBoxType, ShortestWalk, ShortestRoute);
  solver.effort = static_cast<int>(state.range(0));
  PlanningSetup batch = batchConfiguration();
  BoxConfiguration& boxes = batch.boxes;
  CartConfiguration& cartConfig = batch.cartConfig;
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  grouping_customers::ShortestWalkReport report;
  for (auto _ : state) {
    loader.loadItemsAndSpec(wave);
    if (loader.getItems().empty()) {
      state.SkipWithError("the wave did not load");
      return;
    }
    loader.loadingCartsRun(solver, cartConfig, boxes);
    benchmark::DoNotOptimize(loader.getLoadedCartsList().size());
    report = loader.lastWalkReport();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["lines"] = static_cast<double>(loader.getItems().size());
  state.counters["carts"] = report.finalCarts;
  state.counters["start_dm"] = static_cast<double>(report.startLength);
  state.counters["final_dm"] = static_cast<double>(report.finalLength);
  state.counters["screening_s"] = report.effort.screeningSeconds;
  state.counters["loading_s"] = report.effort.loadingSeconds;
  state.counters["routing_s"] = report.effort.routingSeconds;
  state.counters["load_checks"] = static_cast<double>(report.effort.loadChecks);
  state.counters["width_refused"] =
      static_cast<double>(report.effort.widthRefused);
  state.counters["load_refused"] =
      static_cast<double>(report.effort.loadRefused);
  state.counters["routes"] = static_cast<double>(report.effort.routed);
  state.counters["routes_reused"] =
      static_cast<double>(report.effort.routesReused);
  state.counters["quick_routes"] =
      static_cast<double>(report.effort.quickRouted);
  state.counters["screened"] = static_cast<double>(report.effort.screened);
  state.counters["accepted"] = static_cast<double>(report.effort.accepted);
  state.SetItemsProcessed(static_cast<long>(runs) *
                          static_cast<long>(loader.getItems().size()));
}
BENCHMARK(BM_ShortestWalk_PlanWave)
    ->Arg(SolverConfiguration::kDefaultEffort)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
