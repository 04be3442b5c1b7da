#pragma once

#include <vector>

#include "model/box.h"

// The boxes on one shelf: boxes of one customer each, and shared boxes that
// collect single-unit customers.
struct items_into_boxes_decomposition {
  std::vector<Box> fullItemized;
  std::vector<Box> oneItemized;
};

// One shelf of a picking cart; boxes stand side by side along its width.
class CartShelf {
 public:
  float usedWidth = 0;
  items_into_boxes_decomposition boxes;
  float width = 0;
  float height = 0;
  float depth = 0;

  CartShelf(float width, float height, float depth)
      : width(width), height(height), depth(depth) {}

  // Neither add checks the free width; the callers decide.
  void addBox_fullItemized(Box box);
  void addBox_oneItemized(Box box);
  items_into_boxes_decomposition& getBoxes() { return boxes; }
  const items_into_boxes_decomposition& getBoxes() const { return boxes; }
  float getWidth() const { return width; }
  float getHeight() const { return height; }
  float getDepth() const { return depth; }
  float getFreeWidth() const { return width - usedWidth; }
};
