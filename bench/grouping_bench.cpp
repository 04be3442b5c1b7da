// Grouping a wave of 500 customers and 5000 order lines with each grouping
// algorithm. The customers are packed once; every iteration groups a fresh
// copy of the multimap (the copy is made outside the timed part).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "geometry/warehouse.h"
#include "grouping/grouping_customers.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/setup_configuration.h"
#include "support/address_generator.h"
#include "types.h"

namespace {

constexpr int kCustomers = 500;
constexpr int kLines = 5000;

// 500 customers of 1 to 19 lines (5000 in all), units of 3 to 25 per side,
// packed into the standard box by the one-box-type packer.
const CustomerMultimap& packedWave() {
  static const CustomerMultimap wave = [] {
    std::mt19937 rng(7007);
    auto pick = [&rng](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(rng);
    };
    SolverConfiguration solver(FFD_OneBoxType, AVGDistances, NearestNeighbour);
    BoxConfiguration boxes;
    boxes.addBox(Box(28, 29, 45, 4000, "masterBox", 1.0f), 100000);
    CustomerMultimap customers;
    int lines = 0;
    int previousCount = 0;
    for (int id = 1; id <= kCustomers; ++id) {
      // Customers in pairs of 1 to 19 lines adding up to 20: ten on average.
      const int count = id % 2 == 1 ? pick(1, 19) : 20 - previousCount;
      previousCount = count;
      Customer customer(id);
      for (int i = 0; i < count; ++i, ++lines) {
        const int product = lines + 1;
        OItem line(id, product, testing_support::randomAddress(rng),
                   pick(1, 4));
        line.addItemSpecification(ItemSpecification(
            product, ItemSpecification::Unit, 1, 1,
            static_cast<float>(pick(3, 25)), static_cast<float>(pick(3, 25)),
            static_cast<float>(pick(3, 25)), 0.3f));
        line.countWeightAndVolume();
        customer.addOItem(std::move(line));
      }
      customer.countTotalWeightAndVolume();
      customer.decompIntoBoxes(boxes, solver);
      customers.emplace(clampToInt(customer.getTotalVolume()), customer);
    }
    if (lines != kLines) std::abort();
    return customers;
  }();
  return wave;
}

template <typename Group>
void runGrouping(benchmark::State& state, Group group) {
  const CustomerMultimap& wave = packedWave();
  SolverConfiguration solver(FFD_OneBoxType, AVGDistances, NearestNeighbour);
  CartConfiguration carts(90, 200, 50, 1.0f, 3);
  std::size_t cartCount = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CustomerMultimap customers = wave;
    state.ResumeTiming();
    std::list<Cart> result = group(solver, carts, customers);
    cartCount = result.size();
    benchmark::DoNotOptimize(result);
    state.PauseTiming();
    result.clear();  // freeing the carts is not part of the grouping
    state.ResumeTiming();
  }
  state.counters["carts"] = static_cast<double>(cartCount);
  state.SetItemsProcessed(state.iterations() * kCustomers);
}

void BM_Grouping_AVGDistances(benchmark::State& state) {
  Warehouse warehouse;
  runGrouping(
      state, [&warehouse](SolverConfiguration& solver, CartConfiguration& carts,
                          CustomerMultimap& customers) {
        return grouping_customers::algorithm_AVGDistances(solver, carts,
                                                          customers, warehouse);
      });
}

void BM_Grouping_LeastSquares(benchmark::State& state) {
  runGrouping(state, [](SolverConfiguration& solver, CartConfiguration& carts,
                        CustomerMultimap& customers) {
    return grouping_customers::leastSquareMethod(solver, carts, customers);
  });
}

void BM_Grouping_KMeans(benchmark::State& state) {
  runGrouping(state, [](SolverConfiguration& solver, CartConfiguration& carts,
                        CustomerMultimap& customers) {
    return grouping_customers::kMeansClustering(solver, carts, customers);
  });
}

BENCHMARK(BM_Grouping_AVGDistances)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grouping_LeastSquares)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grouping_KMeans)->Unit(benchmark::kMillisecond);

}  // namespace
