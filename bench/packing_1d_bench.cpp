// One customer of 200 lines (about 2000 pieces) packed by each 1D packer.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "packing/bin_packing_solver.h"

namespace {

std::vector<OItem> customerLines(int lineCount) {
  std::mt19937 rng(42);
  auto real = [&](float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(rng);
  };
  auto whole = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  std::vector<OItem> lines;
  for (int i = 0; i < lineCount; ++i) {
    OItem line(1, 1000 + i, "G000502017", whole(1, 19));
    float x = real(2, 15), y = real(2, 15), z = real(2, 20);
    line.addItemSpecification(ItemSpecification(
        1000 + i, ItemSpecification::Unit, 1, 1, x, y, z, 0.5f));
    if (i % 3 == 0) {
      line.addItemSpecification(ItemSpecification(
          1000 + i, ItemSpecification::Package, 2, 6, x * 3, y * 2, z, 3));
    }
    line.countWeightAndVolume();
    lines.push_back(line);
  }
  return lines;
}

const Box kStandard(28, 29, 45, 4000, "masterBox", 1.0f);

void BM_Packing1D_BaseLineFFD(benchmark::State& state) {
  auto lines = customerLines(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<Box> boxes;
    bp_solver::baseLineFFD(lines, &boxes, kStandard);
    benchmark::DoNotOptimize(boxes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Packing1D_BaseLineFFD)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_Packing1D_OneBoxType(benchmark::State& state) {
  auto lines = customerLines(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<Box> boxes;
    bp_solver::mainSolution1DFFD_oneBoxType(lines, &boxes, kStandard);
    benchmark::DoNotOptimize(boxes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Packing1D_OneBoxType)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_Packing1D_MultipleBoxTypes(benchmark::State& state) {
  auto lines = customerLines(static_cast<int>(state.range(0)));
  std::vector<Box> types = {Box(20, 20, 20, 1000, "small", 1.0f), kStandard,
                            Box(40, 40, 50, 4000, "large", 1.0f)};
  for (auto _ : state) {
    std::vector<Box> boxes;
    bp_solver::mainSolution1DFFDS_multipleBoxTypes(lines, &boxes, types);
    benchmark::DoNotOptimize(boxes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Packing1D_MultipleBoxTypes)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
