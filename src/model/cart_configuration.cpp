#include "model/cart_configuration.h"

#include <stdexcept>
#include <string>

CartConfiguration::CartConfiguration(
    float width, float height, float depth, float ratio, int numOfShelves)
    : width(width),
      height(height),
      depth(depth),
      ratio(ratio),
      numOfShelves(numOfShelves) {
  if (numOfShelves < 1) {
    throw std::invalid_argument(
        "Invalid cart configuration: " + std::to_string(numOfShelves) +
        " shelves; a cart needs at least one shelf");
  }
  std::vector<CartShelf> shelves(
      numOfShelves,
      CartShelf(width, height / static_cast<float>(numOfShelves), depth));
  cartPatterns.emplace_back(std::move(shelves));
}

void CartConfiguration::addCartShelf(float width,
                                     float height,
                                     float depth,
                                     float /*ignored*/) {
  cartShelves.emplace_back(width, height, depth);
  cartPatterns.emplace_back(cartShelves);
}
