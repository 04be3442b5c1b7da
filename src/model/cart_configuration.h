#pragma once

#include <vector>

#include "model/cart.h"
#include "model/cart_shelf.h"

// The picking cart's shape and the empty cart every new cart copies.
class CartConfiguration {
 public:
  std::vector<Cart> cartPatterns;
  std::vector<CartShelf> cartShelves;
  float width = 0;
  float height = 0;
  float depth = 0;
  float ratio = 0;  // stored only
  int numOfShelves = 0;

  // numOfShelves equal shelves of width, height / numOfShelves, depth.
  // Throws std::invalid_argument when numOfShelves is below 1: a cart without
  // shelves can take no box, and grouping would open carts forever.
  CartConfiguration(
      float width, float height, float depth, float ratio, int numOfShelves);

  Cart getCartPattern() const { return cartPatterns.front(); }
  // Appends a shelf and a further pattern made of all added shelves; the
  // planning keeps using the first pattern.
  void addCartShelf(float width, float height, float depth, float ignored);
  void removeCartShelves() { cartShelves.clear(); }
};
