// Cutting order lines into packable pieces: whole packages and single units.

#include "packing/bin_packing_solver.h"
#include "packing/piece_helpers.h"

void cutToPackagesAndUnits(std::vector<OItem> lines,
                           std::vector<BoxItem>* pieces) {
  for (const OItem& line : lines) {
    int remainder = line.qty;
    auto package = line.itemSpecifications.find(ItemSpecification::Package);
    // A package of no or negative content cannot be counted out; such a
    // line is cut into units only.
    if (package != line.itemSpecifications.end() &&
        package->second.contentQty > 0 &&
        line.qty >= package->second.contentQty) {
      int perPackage = package->second.contentQty;
      for (int i = 0; i < line.qty / perPackage; ++i) {
        pieces->emplace_back(package->second, line);
      }
      remainder = line.qty % perPackage;
    }
    if (remainder > 0) {
      ItemSpecification unit = packing::unitPieceSpecification(line);
      for (int i = 0; i < remainder; ++i) pieces->emplace_back(unit, line);
    }
  }
}

namespace packing {

std::vector<PieceRun> cutToPieceRuns(const std::vector<OItem>& lines) {
  std::vector<PieceRun> runs;
  for (const OItem& line : lines) {
    int remainder = line.qty;
    auto package = line.itemSpecifications.find(ItemSpecification::Package);
    if (package != line.itemSpecifications.end() &&
        package->second.contentQty > 0 &&
        line.qty >= package->second.contentQty) {
      runs.push_back({BoxItem(package->second, line),
                      line.qty / package->second.contentQty});
      remainder = line.qty % package->second.contentQty;
    }
    if (remainder > 0) {
      runs.push_back(
          {BoxItem(packing::unitPieceSpecification(line), line), remainder});
    }
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
