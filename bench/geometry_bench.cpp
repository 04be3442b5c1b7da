// Benchmarks of the warehouse geometry: the distance oracle, which the route
// searches call once per leg of every candidate route, the walks the report
// draws, and address parsing.
//
// The pairs are a fixed mix over all sixteen ordered combinations of the
// sectors G, V, P and GP, cycled in a shuffled order; the range argument is
// the number of pairs walked per iteration.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "geometry/waddress.h"
#include "geometry/warehouse.h"

namespace {

// A few addresses of each sector, spread over rows, bays and blocks.
const std::vector<std::vector<std::string>>& addressesBySector() {
  static const std::vector<std::vector<std::string>> addresses = {
      {"G000502017", "G000101010", "G000301120", "G000401020", "G000001010",
       "G000401032", "G004001200", "G002003005"},
      {"VAA0001010", "VBB0001050", "VCC0001005", "VEE0001012", "VDD0001281",
       "VFF0001029", "VAA0002030", "VCC0001035"},
      {"P000101010", "P000201030", "P000203045", "P000101061", "P000801060",
       "P000501005", "P000301048", "P000601020"},
      {"GP00101005", "GP00201010", "GP00301012", "GP00701010", "GP00401006",
       "GP00101030", "GP00501020", "GP00801003"},
  };
  return addresses;
}

// `count` pairs, every ordered combination of sectors equally often.
std::vector<std::pair<SECTOR_ADDR_T, SECTOR_ADDR_T>> makePairs(
    std::size_t count) {
  const auto& bySector = addressesBySector();
  std::vector<std::pair<SECTOR_ADDR_T, SECTOR_ADDR_T>> pairs;
  pairs.reserve(count);
  std::mt19937 random(42u);
  for (std::size_t i = 0; i < count; ++i) {
    const auto& from = bySector[i % 4];
    const auto& to = bySector[(i / 4) % 4];
    pairs.emplace_back(WAddress(from[random() % from.size()]).point(),
                       WAddress(to[random() % to.size()]).point());
  }
  std::shuffle(pairs.begin(), pairs.end(), random);
  return pairs;
}

// The public interface, taking its points by value.
void BM_Warehouse_GetDistanceBetweenAddresses(benchmark::State& state) {
  const auto pairs = makePairs(static_cast<std::size_t>(state.range(0)));
  Warehouse warehouse;
  for (auto _ : state) {
    for (const auto& [a, b] : pairs) {
      benchmark::DoNotOptimize(warehouse.getDistanceBetweenAddresses(a, b));
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(pairs.size()));
}
BENCHMARK(BM_Warehouse_GetDistanceBetweenAddresses)->Range(16, 4096);

// The copy-free static path for hot loops.
void BM_Warehouse_Distance(benchmark::State& state) {
  const auto pairs = makePairs(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    for (const auto& [a, b] : pairs) {
      benchmark::DoNotOptimize(Warehouse::distance(a, b));
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(pairs.size()));
}
BENCHMARK(BM_Warehouse_Distance)->Range(16, 4096);

// The corners of each walk, as the report draws them.
void BM_Warehouse_Walk(benchmark::State& state) {
  const auto pairs = makePairs(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    for (const auto& [a, b] : pairs) {
      benchmark::DoNotOptimize(Warehouse::walk(a, b));
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(pairs.size()));
}
BENCHMARK(BM_Warehouse_Walk)->Range(16, 4096);

// Parsing address texts of all four sectors.
void BM_WAddress_Construct(benchmark::State& state) {
  std::vector<std::string> texts;
  for (const auto& sector : addressesBySector()) {
    texts.insert(texts.end(), sector.begin(), sector.end());
  }
  for (auto _ : state) {
    for (const std::string& text : texts) {
      WAddress address(text);
      benchmark::DoNotOptimize(address.point().x);
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_WAddress_Construct);

}  // namespace
