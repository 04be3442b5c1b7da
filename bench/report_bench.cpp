// Benchmark of the HTML report: the page of a planned synthetic wave with its
// recorded walks, written to a string. The range argument is the number of
// order lines (about eight per customer).

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "report/report.h"
#include "support/planning.h"
#include "wave/carts_loader.h"
#include "wave/recorded_walks.h"
#include "wave_fixtures.h"

namespace {

report::ReportInput plannedSyntheticWave(int lines) {
  const std::string wave = bench_support::syntheticWave(lines / 8, lines);
  const CartsLoader loader = testing_support::batchPlannedLoader(wave);
  report::ReportInput input;
  input.wave = "synthetic.json";
  input.orderLines = loader.getItems().size();
  input.customers = loader.getCustomers().size();
  input.carts = loader.getLoadedCartsList();
  input.recorded =
      recordedWalksOf(nlohmann::json::parse(wave), "synthetic.json");
  return input;
}

void BM_Report_RenderReport(benchmark::State& state) {
  const report::ReportInput input =
      plannedSyntheticWave(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string page = report::renderReport(input);
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
  state.counters["carts"] = static_cast<double>(input.carts.size());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Report_RenderReport)
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
