#include "model/cart_shelf.h"

#include <utility>

void CartShelf::addBox_fullItemized(Box box) {
  usedWidth += box.width;
  boxes.fullItemized.push_back(std::move(box));
}

void CartShelf::addBox_oneItemized(Box box) {
  usedWidth += box.width;
  boxes.oneItemized.push_back(std::move(box));
}
