// Loading and planning whole waves: the synthetic 500-customer, 5000-line
// wave and the largest bundled sample wave.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "wave/carts_loader.h"
#include "wave/planning_setup.h"
#include "wave_fixtures.h"

namespace {

struct BatchConfiguration : PlanningSetup {
  Warehouse warehouse;
  BatchConfiguration() : PlanningSetup(batchConfiguration()) {}
};

std::filesystem::path writeSyntheticWave(int rows) {
  auto path = std::filesystem::temp_directory_path() /
              ("dalvenor_bench_wave_" + std::to_string(rows) + ".json");
  std::ofstream(path) << bench_support::syntheticWave(500, rows);
  return path;
}

void BM_CartsLoader_LoadItemsAndSpec(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  auto path = writeSyntheticWave(rows);
  BatchConfiguration config;
  CartsLoader loader(config.warehouse);
  for (auto _ : state) {
    loader.loadItemsAndSpec(path.string());
    benchmark::DoNotOptimize(loader.getItems().data());
  }
  state.SetItemsProcessed(state.iterations() * rows);
  std::filesystem::remove(path);
}
BENCHMARK(BM_CartsLoader_LoadItemsAndSpec)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

void planWave(benchmark::State& state,
              const std::string& source,
              GroupingCustomersAlgorithms grouping) {
  BatchConfiguration config;
  config.solver =
      SolverConfiguration(FFD_OneBoxType, grouping, GreedyAlgorithm);
  CartsLoader loader(config.warehouse);
  loader.loadItemsAndSpec(source);
  if (loader.getItems().empty()) {
    state.SkipWithError("the wave did not load");
    return;
  }
  for (auto _ : state) {
    loader.loadingCartsRun(config.solver, config.cartConfig, config.boxes);
    benchmark::DoNotOptimize(loader.getLoadedCartsList().size());
  }
  state.counters["carts"] =
      static_cast<double>(loader.getLoadedCartsList().size());
  state.SetItemsProcessed(state.iterations() *
                          static_cast<long>(loader.getItems().size()));
}

void BM_CartsLoader_LoadingCartsRun_Batch(benchmark::State& state) {
  planWave(state, bench_support::syntheticWave(500, 5000), AVGDistances);
}
BENCHMARK(BM_CartsLoader_LoadingCartsRun_Batch)->Unit(benchmark::kMillisecond);

void BM_CartsLoader_LoadingCartsRun_ChooseBest(benchmark::State& state) {
  planWave(state, bench_support::syntheticWave(500, 5000), ChooseBest);
}
BENCHMARK(BM_CartsLoader_LoadingCartsRun_ChooseBest)
    ->Unit(benchmark::kMillisecond);

// The largest sample wave of the repository, planned as wave_batch does.
void BM_WaveBatch_LargestBundledWave(benchmark::State& state) {
  std::filesystem::path largest;
  std::uintmax_t largestSize = 0;
  for (const auto& entry : std::filesystem::directory_iterator(
           DALVENOR_SOURCE_DIR "/data/data_both")) {
    if (entry.is_regular_file() && entry.file_size() > largestSize) {
      largestSize = entry.file_size();
      largest = entry.path();
    }
  }
  state.SetLabel(largest.filename().string());
  planWave(state, largest.string(), AVGDistances);
}
BENCHMARK(BM_WaveBatch_LargestBundledWave)->Unit(benchmark::kMillisecond);

}  // namespace
