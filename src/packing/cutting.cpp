// Cutting order lines into packable pieces: whole packages and single units.

#include "packing/bin_packing_solver.h"
#include "packing/piece_helpers.h"

namespace {

// Cuts one line: emit(specification, count) for its whole packages, then
// for its single units. A package of no or negative content cannot be
// counted out; such a line is cut into units only. The unit specification
// is made only when units remain, after the packages were emitted.
template <typename Emit>
void cutLine(const OItem& line, Emit emit) {
  int remainder = line.qty;
  auto package = line.itemSpecifications.find(ItemSpecification::Package);
  if (package != line.itemSpecifications.end() &&
      package->second.contentQty > 0 &&
      line.qty >= package->second.contentQty) {
    emit(package->second, line.qty / package->second.contentQty);
    remainder = line.qty % package->second.contentQty;
  }
  if (remainder > 0) emit(packing::unitPieceSpecification(line), remainder);
}

}  // namespace

void cutToPackagesAndUnits(std::vector<OItem> lines,
                           std::vector<BoxItem>* pieces) {
  for (const OItem& line : lines) {
    cutLine(line, [&](const ItemSpecification& spec, int count) {
      for (int i = 0; i < count; ++i) pieces->emplace_back(spec, line);
    });
  }
}

namespace packing {

std::vector<PieceRun> cutToPieceRuns(const std::vector<OItem>& lines) {
  std::vector<PieceRun> runs;
  for (const OItem& line : lines) {
    cutLine(line, [&](const ItemSpecification& spec, int count) {
      runs.push_back({BoxItem(spec, line), count});
    });
  }
  return runs;
}

}  // namespace packing

void cutToUnits(std::vector<OItem> lines, std::vector<BoxItem>* pieces) {
  for (const OItem& line : lines) {
    if (line.qty <= 0) continue;
    ItemSpecification unit = packing::unitPieceSpecification(line);
    for (int i = 0; i < line.qty; ++i) pieces->emplace_back(unit, line);
  }
}

void splitPackageBoxItemToUnits(BoxItem piece, std::vector<BoxItem>* units) {
  if (piece.itemSpecification.type == ItemSpecification::Unit) {
    units->push_back(std::move(piece));
    return;
  }
  if (piece.countOfUnits <= 0) return;
  ItemSpecification unit = packing::unitPieceSpecification(piece.oItem);
  for (int i = 0; i < piece.countOfUnits; ++i) {
    units->emplace_back(unit, piece.oItem);
  }
}
