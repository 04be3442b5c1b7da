#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"
#include "model/cart_oitem.h"
#include "model/oitem.h"
#include "routing/tsp_solver.h"
#include "wave/carts_loader.h"

namespace {

// A random address text in sector V, G, P or GP, in turn.
std::string addressInSector(int sector, std::mt19937& rng) {
  auto pick = [&rng](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
  };
  char text[16];
  switch (sector % 4) {
    case 0: {
      const char row = static_cast<char>('C' + pick(0, 3));  // rows C to F
      std::snprintf(text, sizeof text, "V%c%c0001%03d", row, row, pick(1, 40));
      break;
    }
    case 1:
      std::snprintf(text, sizeof text, "G00%02d01%03d", pick(4, 35),
                    pick(1, 31));
      break;
    case 2:
      std::snprintf(text, sizeof text, "P00%02d01%03d", pick(0, 60),
                    pick(0, 60));
      break;
    default:
      std::snprintf(text, sizeof text, "GP0%02d01%03d", pick(0, 8),
                    pick(0, 30));
      break;
  }
  return text;
}

// count lines at pairwise distinct locations spread over all four sectors,
// the same for every run.
std::vector<CartOItem> cartOfDistinctLocations(int count) {
  std::mt19937 rng(5150);
  std::set<std::pair<int, int>> taken{{300, 0}, {620, 0}};
  std::vector<CartOItem> cart;
  for (int sector = 0; static_cast<int>(cart.size()) < count; ++sector) {
    CartOItem line(OItem(1, static_cast<int>(cart.size()) + 1,
                         addressInSector(sector, rng), 1));
    const SECTOR_ADDR_T& at = line.oItem.location();
    if (taken.insert({at.x, at.y}).second) cart.push_back(std::move(line));
  }
  return cart;
}

using Solver = int (*)(std::vector<CartOItem>, Warehouse&,
                       std::vector<CartOItem>*, SECTOR_ADDR_T, SECTOR_ADDR_T);

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

}  // namespace
