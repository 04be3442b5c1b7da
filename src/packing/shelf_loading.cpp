// Placing boxes on cart shelves by width: widest box first, each on the first
// shelf with enough free width.

#include <algorithm>

#include "packing/bin_packing_solver.h"
#include "packing/piece_helpers.h"

namespace {

void sortByWidthDescending(std::vector<Box>& boxes) {
  std::stable_sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
    return packing::orderedValue(a.width) > packing::orderedValue(b.width);
  });
}

CartShelf* firstShelfWithRoom(std::vector<CartShelf>& shelves, const Box& box) {
  for (CartShelf& shelf : shelves) {
    if (shelf.getFreeWidth() >= box.width) return &shelf;
  }
  return nullptr;
}

}  // namespace

namespace bp_solver {

bool bpSolver_1D_fitBoxesToShelvesInCart(std::vector<Box> boxesToLoad,
                                         std::vector<CartShelf>* shelves,
                                         bool toOneItemized) {
  std::vector<CartShelf> copy = *shelves;
  sortByWidthDescending(boxesToLoad);
  for (Box& box : boxesToLoad) {
    CartShelf* shelf = firstShelfWithRoom(copy, box);
    if (shelf == nullptr) return false;
    if (toOneItemized) {
      shelf->addBox_oneItemized(std::move(box));
    } else {
      shelf->addBox_fullItemized(std::move(box));
    }
  }
  *shelves = std::move(copy);
  return true;
}

std::vector<float> widthsInLoadingOrder(const std::vector<Box>& boxes) {
  std::vector<float> widths;
  widths.reserve(boxes.size());
  for (const Box& box : boxes) widths.push_back(box.width);
  // The same stable order as sortByWidthDescending gives the boxes.
  std::stable_sort(widths.begin(), widths.end(), [](float a, float b) {
    return packing::orderedValue(a) > packing::orderedValue(b);
  });
  return widths;
}

bool fitsShelvesByWidth(const std::vector<Box>& boxes,
                        const std::vector<CartShelf>& shelves) {
  return fitsShelvesByWidth(widthsInLoadingOrder(boxes), shelves);
}

bool fitsShelvesByWidth(std::span<const float> orderedWidths,
                        const std::vector<CartShelf>& shelves) {
  // A cart has a few shelves: their used widths fit on the stack.
  constexpr std::size_t kOnStack = 16;
  float onStack[kOnStack];
  std::vector<float> onHeap;
  float* used = onStack;
  if (shelves.size() > kOnStack) {
    onHeap.resize(shelves.size());
    used = onHeap.data();
  }
  for (std::size_t i = 0; i < shelves.size(); ++i) {
    used[i] = shelves[i].usedWidth;
  }
  for (float width : orderedWidths) {
    const std::size_t i = firstShelfByWidth(shelves, used, width);
    if (i == shelves.size()) return false;
    used[i] += width;
  }
  return true;
}

std::size_t firstShelfByWidth(const std::vector<CartShelf>& shelves,
                              const float* used,
                              float width) {
  std::size_t i = 0;
  while (i < shelves.size() && !(shelves[i].width - used[i] >= width)) ++i;
  return i;
}

bool bpSolver_1D_partlyLoadBoxesToShelvesInCart(std::vector<Box> boxesToLoad,
                                                std::vector<CartShelf>* shelves,
                                                std::vector<Box>* notLoaded,
                                                std::vector<Box>* loaded) {
  sortByWidthDescending(boxesToLoad);
  bool placedAny = false;
  for (Box& box : boxesToLoad) {
    CartShelf* shelf = firstShelfWithRoom(*shelves, box);
    if (shelf == nullptr) {
      notLoaded->push_back(std::move(box));
      continue;
    }
    shelf->addBox_fullItemized(box);
    loaded->push_back(std::move(box));
    placedAny = true;
  }
  return placedAny;
}

bool addBoxItemToExisting_oneItemized_Box_1D(Box box, BoxItem piece) {
  return box.getFreeCapacity() >= piece.itemSpecification.volume;
}

}  // namespace bp_solver
