// Three-dimensional packers and the 3D fit test, run through the embedded
// interpreter. Each cuts the order lines into pieces, describes boxes and
// pieces to the interpreter, runs its script and turns the returned records
// back into boxes. A failure anywhere on the Python side (module missing,
// malformed record, a result that does not return every piece exactly once)
// falls back to the matching one-dimensional packer, so no goods are lost.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "packing/bin_packing_solver.h"
#include "packing/full_boxes_3d.h"
#include "packing/packing_scripts.h"
#include "packing/packing_statements.h"
#include "packing/piece_helpers.h"
#include "packing/python_session.h"

namespace bp_solver {
namespace {

constexpr const char* import_statement = "from py3dbp import Packer, Bin, Item";

// A piece as the scripts know it: product number and type.
using PieceKey = std::pair<int, ItemSpecification::Type>;

PieceKey keyOf(const BoxItem& piece) {
  return {piece.oItem.productID, piece.itemSpecification.type};
}

// "items = []" and one statement per piece, as one block of statements.
std::string itemsStatements(
    const std::vector<BoxItem>& pieces,
    const std::function<std::string(const BoxItem&)>& statementOf) {
  std::string text = "items = []\n";
  for (const BoxItem& piece : pieces) text += statementOf(piece) + "\n";
  return text;
}

int parseProductNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) {
    throw std::runtime_error("Invalid product number in packing result: '" +
                             text + "'");
  }
  return value;
}

// Turns the returned records into boxes, in the order returned. boxFor gives
// the box a named entry starts from. Throws std::runtime_error unless every
// cut piece comes back exactly once (by product and type, with multiplicity).
std::vector<Box> readBack(
    const std::vector<bridge::ResultRecord>& records,
    const std::vector<BoxItem>& pieces,
    const std::function<Box(const std::string&)>& boxFor) {
  std::map<PieceKey, std::size_t> firstPiece;
  std::map<PieceKey, int> sent;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    firstPiece.try_emplace(keyOf(pieces[i]), i);
    ++sent[keyOf(pieces[i])];
  }
  std::map<PieceKey, int> returned;
  std::vector<Box> boxes;
  boxes.reserve(records.size());
  for (const bridge::ResultRecord& record : records) {
    bool unboxed = !record.name.has_value();
    Box box = unboxed ? Box(0, 0, 0, 0, "none", 1.0f) : boxFor(*record.name);
    for (const bridge::ResultItem& item : record.items) {
      PieceKey key{parseProductNumber(item.product_no),
                   item.type == "unit" ? ItemSpecification::Unit
                                       : ItemSpecification::Package};
      auto found = firstPiece.find(key);
      if (found == firstPiece.end()) {
        throw std::runtime_error("Packing result holds a piece never sent: " +
                                 item.product_no + ";" + item.type);
      }
      // Every returned piece of a key is a copy of the first cut piece.
      BoxItem piece = pieces[found->second];
      box.addItem(piece);
      if (unboxed) {
        box.width = piece.itemSpecification.x;
        box.height = piece.itemSpecification.y;
        box.depth = piece.itemSpecification.z;
      }
      ++returned[key];
    }
    boxes.push_back(std::move(box));
  }
  if (returned != sent) {
    throw std::runtime_error(
        "Packing result does not hold every piece exactly once");
  }
  return boxes;
}

// The first box type with the given name, or a default Box when none has it.
template <typename Types, typename BoxOf>
Box firstNamed(const Types& types, const std::string& name, BoxOf boxOf) {
  for (const auto& type : types) {
    const Box& box = boxOf(type);
    if (box.name == name) return box;
  }
  return Box();
}

void appendAll(std::vector<Box>&& boxes, std::vector<Box>* packedBoxes) {
  for (Box& box : boxes) packedBoxes->push_back(std::move(box));
}

// Removes what one call appended after the list had `size` boxes.
void truncateTo(std::vector<Box>* packedBoxes, std::size_t size) {
  if (packedBoxes->size() > size) {
    packedBoxes->erase(packedBoxes->begin() + static_cast<long>(size),
                       packedBoxes->end());
  }
}

// One packing exchange with the interpreter: the import, the box
// statements, the pieces, the shared prelude and the script texts in order,
// then the call, whose
// records are read back into boxes.
std::vector<Box> packThroughScript(
    const std::string& boxStatements,
    const std::vector<BoxItem>& pieces,
    const std::function<std::string(const BoxItem&)>& pieceStatement,
    std::initializer_list<const char*> scriptTexts,
    const std::string& call,
    const std::function<Box(const std::string&)>& boxFor) {
  bridge::Session session;
  session.run(import_statement);
  session.run(boxStatements);
  session.run(itemsStatements(pieces, pieceStatement));
  session.run(scripts::packing_prelude);
  for (const char* script : scriptTexts) session.run(script);
  return readBack(session.evaluateRecords(call), pieces, boxFor);
}

// The full boxes of a type holding perBox pieces each, at most maxBoxes, for
// a run of identical pieces: none unless the run fills more than one box.
// Returns the pieces they took.
int fullBoxesOfRun(const Box& type,
                   const BoxItem& piece,
                   int count,
                   int perBox,
                   int maxBoxes,
                   std::vector<Box>* fullBoxes) {
  if (perBox <= 0 || perBox >= count) return 0;
  const int boxes = std::min(count / perBox, maxBoxes);
  packing::appendFullBoxes(type, piece, perBox, boxes, fullBoxes);
  return boxes * perBox;
}

// The script's boxes for the pieces after the full boxes, which come first.
// A customer whose pieces all went into full boxes needs no script.
std::vector<Box> withScriptBoxes(
    std::vector<Box> fullBoxes,
    const std::vector<BoxItem>& rest,
    const std::function<std::vector<Box>(const std::vector<BoxItem>&)>&
        script) {
  if (!rest.empty() || fullBoxes.empty()) appendAll(script(rest), &fullBoxes);
  return fullBoxes;
}

}  // namespace

void mainSolution3DBP_oneBox_pythonScript(std::vector<OItem> lines,
                                          std::vector<Box>* packedBoxes,
                                          Box boxType) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(lines, &pieces);
  try {
    std::vector<Box> fullBoxes;
    const std::vector<BoxItem> rest = packing::piecesAfterFullBoxes(
        std::move(pieces),
        [&](const BoxItem& piece, int count, std::vector<Box>* full) {
          const std::optional<int> perBox =
              packing::piecesPerBox(boxType, piece, count);
          return fullBoxesOfRun(boxType, piece, count, perBox.value_or(0),
                                count, full);
        },
        &fullBoxes);
    appendAll(
        withScriptBoxes(std::move(fullBoxes), rest,
                        [&](const std::vector<BoxItem>& left) {
                          return packThroughScript(
                              bridge::boxStatement(boxType), left,
                              bridge::pieceStatement, {scripts::bin_packing3d},
                              "bin_packing3d(bin, items)",
                              [&](const std::string&) { return boxType; });
                        }),
        packedBoxes);
  } catch (const std::exception&) {
    perror("WARNING: 3DBP failure, processing 1D FFD bin packing...\n");
    packedBoxes->clear();
    mainSolution1DFFD_oneBoxType(std::move(lines), packedBoxes,
                                 std::move(boxType));
  }
}

bool addBoxItemToExisting_oneItemized_Box_3D(Box box, BoxItem piece) {
  try {
    bridge::Session session;
    session.run(import_statement);
    session.run(bridge::boxStatement(box));
    std::string items = "items = []\n";
    for (const auto& [product, stored] : box.getItemsInTheBox()) {
      // One piece of its specification's size, however many units it holds.
      items += bridge::pieceStatement(stored) + "\n";
    }
    items += bridge::pieceStatement(piece) + "\n";
    session.run(items);
    session.run(scripts::packing_prelude);
    session.run(scripts::test_adding_boxitem_3d);
    return session.evaluateTruth("test_adding_boxitem_3d(bin, items)");
  } catch (const std::exception&) {
    perror("WARNING: 3DBP failure, processing 1D bin packing...\n");
    return addBoxItemToExisting_oneItemized_Box_1D(std::move(box),
                                                   std::move(piece));
  }
}

void mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
    std::vector<OItem> lines,
    std::vector<Box>* packedBoxes,
    std::vector<Box> boxTypes) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(lines, &pieces);
  const std::size_t before = packedBoxes->size();
  try {
    // The script opens the smallest type (by capacity) that takes a piece
    // first; a run's full boxes are of the smallest type that holds one.
    std::vector<Box> bySize = boxTypes;
    std::stable_sort(bySize.begin(), bySize.end(),
                     [](const Box& a, const Box& b) {
                       return packing::orderedValue(a.getCapacity()) <
                              packing::orderedValue(b.getCapacity());
                     });
    std::vector<Box> fullBoxes;
    const std::vector<BoxItem> rest = packing::piecesAfterFullBoxes(
        std::move(pieces),
        [&](const BoxItem& piece, int count, std::vector<Box>* full) {
          for (const Box& type : bySize) {
            if (!(type.getCapacity() >= piece.itemSpecification.volume)) {
              continue;
            }
            const std::optional<int> perBox =
                packing::piecesPerBox(type, piece, count);
            if (!perBox) return 0;
            if (*perBox == 0) continue;  // the next larger type may hold it
            return fullBoxesOfRun(type, piece, count, *perBox, count, full);
          }
          return 0;
        },
        &fullBoxes);
    std::string bins = "bins = []\n";
    for (const Box& type : boxTypes) {
      bins += bridge::boxStatementWithVolume(type) + "\n";
    }
    appendAll(
        withScriptBoxes(
            std::move(fullBoxes), rest,
            [&](const std::vector<BoxItem>& left) {
              return packThroughScript(
                  bins, left, bridge::pieceStatementWithVolume,
                  {scripts::UsedBin, scripts::bin_packing_3d_ffds_multipleBins},
                  "bin_packing_3d_ffds_multipleBins(bins, items)",
                  [&](const std::string& name) {
                    return firstNamed(
                        boxTypes, name,
                        [](const Box& b) -> const Box& { return b; });
                  });
            }),
        packedBoxes);
  } catch (const std::exception&) {
    std::cerr << "python work exception" << std::endl;
    truncateTo(packedBoxes, before);
    mainSolution1DFFDS_multipleBoxTypes(std::move(lines), packedBoxes,
                                        std::move(boxTypes));
  }
}

void mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
    std::vector<OItem> lines,
    std::vector<Box>* packedBoxes,
    std::vector<std::pair<Box, int>> boxTypes) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(lines, &pieces);
  const std::size_t before = packedBoxes->size();
  try {
    // The stock left after the full boxes, which take the first type in
    // stock that holds a piece.
    std::vector<std::pair<Box, int>> stock = boxTypes;
    std::vector<Box> fullBoxes;
    const std::vector<BoxItem> rest = packing::piecesAfterFullBoxes(
        std::move(pieces),
        [&](const BoxItem& piece, int count, std::vector<Box>* full) {
          for (auto& [type, left] : stock) {
            if (left <= 0) continue;
            const std::optional<int> perBox =
                packing::piecesPerBox(type, piece, count);
            if (!perBox) return 0;
            if (*perBox == 0) continue;
            const int packed =
                fullBoxesOfRun(type, piece, count, *perBox, left, full);
            left -= packed / *perBox;
            return packed;
          }
          return 0;
        },
        &fullBoxes);
    std::string bins = "bins = []\n";
    for (const auto& [type, count] : stock) {
      bins += bridge::boxStatementWithCount(type, count) + "\n";
    }
    appendAll(withScriptBoxes(
                  std::move(fullBoxes), rest,
                  [&](const std::vector<BoxItem>& left) {
                    return packThroughScript(
                        bins, left, bridge::pieceStatement,
                        {scripts::bin_packing3d_libraryDefault},
                        "bin_packing3d_libraryDefault(bins, items)",
                        [&](const std::string& name) {
                          return firstNamed(
                              boxTypes, name,
                              [](const std::pair<Box, int>& t) -> const Box& {
                                return t.first;
                              });
                        });
                  }),
              packedBoxes);
  } catch (const std::exception&) {
    // This packer reports nothing; the goods are packed by volume instead.
    truncateTo(packedBoxes, before);
    std::vector<Box> types;
    types.reserve(boxTypes.size());
    for (auto& entry : boxTypes) types.push_back(std::move(entry.first));
    mainSolution1DFFDS_multipleBoxTypes(std::move(lines), packedBoxes,
                                        std::move(types));
  }
}

}  // namespace bp_solver
