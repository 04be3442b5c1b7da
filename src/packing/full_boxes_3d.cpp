#include "packing/full_boxes_3d.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "packing/packing_scripts.h"
#include "packing/packing_statements.h"
#include "packing/python_session.h"

namespace packing {

std::optional<int> piecesPerBox(const Box& type,
                                const BoxItem& piece,
                                int count) {
  const ItemSpecification& spec = piece.itemSpecification;
  const double pieceVolume =
      static_cast<double>(spec.x) * spec.y * static_cast<double>(spec.z);
  const double boxVolume = static_cast<double>(type.width) * type.height *
                           static_cast<double>(type.depth);
  if (!(pieceVolume > 0) || !std::isfinite(pieceVolume) ||
      !std::isfinite(boxVolume)) {
    return std::nullopt;
  }
  // Placed pieces do not overlap, so the box takes at most its volume over
  // the piece's; one more is offered for the module's rounding slack.
  const double most = std::floor(std::max(boxVolume, 0.0) / pieceVolume) + 1;
  const int offered = most < count ? static_cast<int>(most) : count;

  bp_solver::bridge::Session session;
  session.run("from py3dbp import Packer, Bin, Item");
  session.run(bp_solver::bridge::boxStatement(type));
  session.run("items = []\n" + bp_solver::bridge::pieceStatement(piece));
  session.run(bp_solver::scripts::packing_prelude);
  session.run(bp_solver::scripts::pieces_per_box);
  const std::vector<bp_solver::bridge::ResultRecord> records =
      session.evaluateRecords("pieces_per_box(bin, items[0], " +
                              bp_solver::bridge::formatNumber(offered) + ")");
  if (records.size() != 1) {
    throw std::runtime_error("Pattern packing returned " +
                             std::to_string(records.size()) + " boxes");
  }
  return static_cast<int>(records[0].items.size());
}

void appendFullBoxes(const Box& type,
                     BoxItem piece,
                     int perBox,
                     int boxes,
                     std::vector<Box>* fullBoxes) {
  Box full = type;
  for (int i = 0; i < perBox; ++i) full.addItem(piece);
  // The copies share one map of goods.
  fullBoxes->insert(fullBoxes->end(), static_cast<std::size_t>(boxes), full);
}

std::vector<BoxItem> piecesAfterFullBoxes(std::vector<BoxItem> pieces,
                                          const FullBoxesOfRun& fullBoxesOf,
                                          std::vector<Box>* fullBoxes) {
  if (pieces.size() <= kPatternFromPieces) return pieces;
  std::vector<BoxItem> rest;
  std::size_t start = 0;
  while (start < pieces.size()) {
    // A run: the pieces of one specification cut from one line.
    std::size_t end = start + 1;
    while (end < pieces.size() &&
           pieces[end].oItem.productID == pieces[start].oItem.productID &&
           pieces[end].itemSpecification.type ==
               pieces[start].itemSpecification.type) {
      ++end;
    }
    const int count = static_cast<int>(end - start);
    const int packed = fullBoxesOf(pieces[start], count, fullBoxes);
    rest.insert(rest.end(), pieces.begin() + static_cast<long>(start + packed),
                pieces.begin() + static_cast<long>(end));
    start = end;
  }
  return rest;
}

}  // namespace packing
