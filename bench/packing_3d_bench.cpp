// The 3D packers through the embedded interpreter, on one customer of 10, 50
// and 200 pieces packed into the standard master box.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <exception>
#include <random>
#include <utility>
#include <vector>

#include "packing/bin_packing_solver.h"
#include "packing/python_session.h"

namespace {

const Box master(28, 29, 45, 4000, "masterBox", 1.0f);

// One customer's lines cut into exactly `pieces` pieces: lines of up to six
// units (every third with a package of three), sides 3 to 15.
std::vector<OItem> customerOf(int pieces) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> qty(1, 6), side(3, 15);
  std::vector<OItem> lines;
  int left = pieces;
  for (int product = 1; left > 0; ++product) {
    bool packaged = product % 3 == 0 && left >= 3;
    int units = packaged ? 3 : std::min(qty(random), left);
    auto x = static_cast<float>(side(random));
    auto y = static_cast<float>(side(random));
    auto z = static_cast<float>(side(random));
    OItem line(1, product, "G000502017", units);
    line.addItemSpecification(
        ItemSpecification(product, ItemSpecification::Unit, 1, 1, x, y, z, 1));
    if (packaged) {
      line.addItemSpecification(ItemSpecification(
          product, ItemSpecification::Package, 2, 3, x, y, z * 3, 3));
    }
    line.countWeightAndVolume();
    lines.push_back(std::move(line));
    left -= packaged ? 1 : units;
  }
  return lines;
}

// Skips the run when the packing module cannot be imported, so that the
// one-dimensional fallback is never what gets measured.
bool moduleAvailable(benchmark::State& state) {
  try {
    bp_solver::bridge::Session session;
    session.run("from py3dbp import Packer, Bin, Item");
    return true;
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
    return false;
  }
}

void BM_Packing3D_OneBoxType(benchmark::State& state) {
  if (!moduleAvailable(state)) return;
  std::vector<OItem> lines = customerOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<Box> boxes;
    bp_solver::mainSolution3DBP_oneBox_pythonScript(lines, &boxes, master);
    benchmark::DoNotOptimize(boxes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Packing3D_OneBoxType)
    ->Arg(10)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

void BM_Packing3D_FfdsMultiBoxTypes(benchmark::State& state) {
  if (!moduleAvailable(state)) return;
  std::vector<OItem> lines = customerOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<Box> boxes;
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(lines, &boxes,
                                                                {master});
    benchmark::DoNotOptimize(boxes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Packing3D_FfdsMultiBoxTypes)
    ->Arg(10)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

void BM_Packing3D_CountDefined(benchmark::State& state) {
  if (!moduleAvailable(state)) return;
  std::vector<OItem> lines = customerOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<Box> boxes;
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        lines, &boxes, {{master, 1000}});
    benchmark::DoNotOptimize(boxes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Packing3D_CountDefined)
    ->Arg(10)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

// The fit test on a box already holding `range` products.
void BM_Packing3D_FitTest(benchmark::State& state) {
  if (!moduleAvailable(state)) return;
  Box shared = master;
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(customerOf(static_cast<int>(state.range(0))), &pieces);
  for (BoxItem& piece : pieces) shared.addItem(piece);
  BoxItem newcomer = pieces.front();
  newcomer.oItem.productID = -1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        bp_solver::addBoxItemToExisting_oneItemized_Box_3D(shared, newcomer));
  }
}
BENCHMARK(BM_Packing3D_FitTest)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
