#pragma once

#include <span>
#include <utility>
#include <vector>

#include "model/box.h"
#include "model/box_item.h"
#include "model/cart_shelf.h"
#include "model/oitem.h"

// Cutting order lines into pieces: each piece stands for one unit or one
// whole package. All three append to the output and never clear it.
void cutToPackagesAndUnits(std::vector<OItem> lines,
                           std::vector<BoxItem>* pieces);
void cutToUnits(std::vector<OItem> lines, std::vector<BoxItem>* pieces);
void splitPackageBoxItemToUnits(BoxItem piece, std::vector<BoxItem>* units);

// One step of the several-types packer: first fit into the packed boxes, else
// a new box of the first (smallest) type large enough; false when none is.
bool mainSolution1DFFDS_helper(BoxItem piece,
                               std::vector<Box>* packedBoxes,
                               std::vector<Box> boxTypes);

namespace bp_solver {

// One-dimensional first-fit-decreasing packers (by volume).
void baseLineFFD(std::vector<OItem> lines,
                 std::vector<Box>* packedBoxes,
                 Box boxType);
void mainSolution1DFFD_oneBoxType(std::vector<OItem> lines,
                                  std::vector<Box>* packedBoxes,
                                  Box boxType);
void mainSolution1DFFDS_multipleBoxTypes(std::vector<OItem> lines,
                                         std::vector<Box>* packedBoxes,
                                         std::vector<Box> boxTypes);

// Three-dimensional packers through the embedded interpreter.
void mainSolution3DBP_oneBox_pythonScript(std::vector<OItem> lines,
                                          std::vector<Box>* packedBoxes,
                                          Box boxType);
void mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
    std::vector<OItem> lines,
    std::vector<Box>* packedBoxes,
    std::vector<Box> boxTypes);
void mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
    std::vector<OItem> lines,
    std::vector<Box>* packedBoxes,
    std::vector<std::pair<Box, int>> boxTypes);

// Fit tests for a single unit joining a shared box; they only answer.
bool addBoxItemToExisting_oneItemized_Box_1D(Box box, BoxItem piece);
bool addBoxItemToExisting_oneItemized_Box_3D(Box box, BoxItem piece);

// Shelf loading by box width, widest first, first shelf with room.
bool bpSolver_1D_fitBoxesToShelvesInCart(std::vector<Box> boxesToLoad,
                                         std::vector<CartShelf>* shelves,
                                         bool toOneItemized);
// The answer bpSolver_1D_fitBoxesToShelvesInCart would give, worked out on
// the widths alone (same order, same float sums), copying no box or shelf.
bool fitsShelvesByWidth(const std::vector<Box>& boxes,
                        const std::vector<CartShelf>& shelves);
// The box widths of a customer in the order the shelf loading takes them
// (widest first, stable), for repeated fit tests on the same boxes.
std::vector<float> widthsInLoadingOrder(const std::vector<Box>& boxes);
// fitsShelvesByWidth on widths already in loading order.
bool fitsShelvesByWidth(std::span<const float> orderedWidths,
                        const std::vector<CartShelf>& shelves);
// The first shelf whose free width, its width less used[i] (the loading's
// float sums), is at least `width`; shelves.size() when none is.
std::size_t firstShelfByWidth(const std::vector<CartShelf>& shelves,
                              const float* used,
                              float width);
bool bpSolver_1D_partlyLoadBoxesToShelvesInCart(std::vector<Box> boxesToLoad,
                                                std::vector<CartShelf>* shelves,
                                                std::vector<Box>* notLoaded,
                                                std::vector<Box>* loaded);

}  // namespace bp_solver
