#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <list>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"
#include "model/cart_oitem.h"
#include "model/oitem.h"
#include "routing/route_search.h"
#include "routing/tsp_solver.h"
#include "support/address_generator.h"
#include "wave/carts_loader.h"
#include "wave/planning_setup.h"

namespace {

// count lines at pairwise distinct locations spread over all four sectors,
// the same for every run.
std::vector<CartOItem> cartOfDistinctLocations(int count) {
  std::mt19937 rng(5150);
  std::set<std::pair<int, int>> taken{{300, 0}, {620, 0}};
  std::vector<CartOItem> cart;
  for (int sector = 0; static_cast<int>(cart.size()) < count; ++sector) {
    const auto kind = static_cast<testing_support::SectorKind>(sector % 4);
    CartOItem line(OItem(1, static_cast<int>(cart.size()) + 1,
                         testing_support::randomAddress(rng, kind), 1));
    const SECTOR_ADDR_T& at = line.oItem.location();
    if (taken.insert({at.x, at.y}).second) cart.push_back(std::move(line));
  }
  return cart;
}

using Solver = int (*)(std::vector<CartOItem>,
                       Warehouse&,
                       std::vector<CartOItem>*,
                       SECTOR_ADDR_T,
                       SECTOR_ADDR_T);

void runSolver(benchmark::State& state, Solver solver) {
  const std::vector<CartOItem> cart =
      cartOfDistinctLocations(static_cast<int>(state.range(0)));
  Warehouse warehouse;
  const SECTOR_ADDR_T start = routeStart();
  const SECTOR_ADDR_T end = routeEnd();
  for (auto _ : state) {
    std::vector<CartOItem> order;
    benchmark::DoNotOptimize(solver(cart, warehouse, &order, start, end));
    benchmark::DoNotOptimize(order.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TspSolver_BruteForce(benchmark::State& state) {
  runSolver(state, &tsp_solver::bruteForce);
}
BENCHMARK(BM_TspSolver_BruteForce)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_TspSolver_Greedy(benchmark::State& state) {
  runSolver(state, &tsp_solver::greedyAlgorithm);
}
BENCHMARK(BM_TspSolver_Greedy)
    ->Arg(20)
    ->Arg(60)
    ->Arg(150)
    ->Unit(benchmark::kMillisecond);

void BM_TspSolver_NearestNeighbour(benchmark::State& state) {
  runSolver(state, &tsp_solver::nearestNeighbour);
}
BENCHMARK(BM_TspSolver_NearestNeighbour)
    ->Arg(20)
    ->Arg(60)
    ->Arg(150)
    ->Unit(benchmark::kMillisecond);

// Shortest routes by stop count: exact up to route_search::kExactStopLimit
// stops, iterated local search with the default budget above.
void BM_TspSolver_ShortestRoute(benchmark::State& state) {
  runSolver(state, [](std::vector<CartOItem> items, Warehouse& warehouse,
                      std::vector<CartOItem>* order, SECTOR_ADDR_T start,
                      SECTOR_ADDR_T end) {
    return tsp_solver::shortestRoute(std::move(items), warehouse, order, start,
                                     end);
  });
}
BENCHMARK(BM_TspSolver_ShortestRoute)
    ->DenseRange(12, 16)
    ->Arg(20)
    ->Arg(35)
    ->Arg(50)
    ->Arg(70)
    ->Arg(100)
    ->Arg(150)
    ->Unit(benchmark::kMillisecond);

// The carts wave_batch's configuration plans for a wave, each with its
// lines in loading order, as every route setting receives them.
std::list<Cart> plannedCarts(const std::string& wave) {
  PlanningSetup setup = batchConfiguration();
  SolverConfiguration solver(setup.solver.getBPAlgorithm(),
                             setup.solver.getGroupingCustomerAlgorithm(),
                             JustMeasureDistance);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  loader.loadItemsAndSpec(wave);
  loader.loadingCartsRun(solver, setup.cartConfig, setup.boxes);
  return loader.getLoadedCartsList();
}

long shortestTotal(const std::list<Cart>& carts,
                   const route_search::SearchSettings& settings) {
  Warehouse warehouse;
  long total = 0;
  for (const Cart& cart : carts) {
    std::vector<CartOItem> order;
    total +=
        tsp_solver::shortestRoute(cart.cartOItems, warehouse, &order,
                                  routeStart(), routeEnd(), nullptr, settings);
  }
  return total;
}

// Quality on a bundled wave: the whole distance of the same carts routed
// greedily, by ShortestRoute, and by the same search with ten times the
// iteration budget; the time is that of routing every cart by ShortestRoute.
void BM_ShortestRoute_BundledWave(benchmark::State& state,
                                  const std::string& wave) {
  const std::list<Cart> carts = plannedCarts(wave);
  Warehouse warehouse;
  long greedy = 0;
  for (const Cart& cart : carts) {
    std::vector<CartOItem> order;
    greedy += tsp_solver::greedyAlgorithm(cart.cartOItems, warehouse, &order,
                                          routeStart(), routeEnd());
  }
  const route_search::SearchSettings standard;
  route_search::SearchSettings longer = standard;
  longer.iterationsPerStop *= 10;
  long shortest = 0;
  for (auto _ : state) {
    shortest = shortestTotal(carts, standard);
    benchmark::DoNotOptimize(shortest);
  }
  const long longerTotal = shortestTotal(carts, longer);
  state.counters["carts"] = static_cast<double>(carts.size());
  state.counters["greedy_dm"] = static_cast<double>(greedy);
  state.counters["shortest_dm"] = static_cast<double>(shortest);
  state.counters["shortest_10x_dm"] = static_cast<double>(longerTotal);
  state.counters["saving_pct"] = 100.0 * (greedy - shortest) / greedy;
  state.counters["above_10x_pct"] =
      100.0 * (shortest - longerTotal) / longerTotal;
}

// Every bundled wave of at least 500 rows.
const bool kBundledWavesRegistered = [] {
  std::vector<std::filesystem::path> waves;
  for (const auto& entry : std::filesystem::directory_iterator(
           DALVENOR_SOURCE_DIR "/data/data_both")) {
    std::ifstream in(entry.path());
    if (nlohmann::json::parse(in, nullptr, false).size() >= 500) {
      waves.push_back(entry.path());
    }
  }
  std::sort(waves.begin(), waves.end());
  for (const auto& wave : waves) {
    benchmark::RegisterBenchmark(
        ("BM_ShortestRoute_BundledWave/" + wave.stem().string()).c_str(),
        BM_ShortestRoute_BundledWave, wave.string())
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  }
  return true;
}();

}  // namespace
