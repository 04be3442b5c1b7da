#pragma once

#include <cstddef>
#include <list>
#include <string>

#include "model/cart.h"

namespace stats {

// Boxes on a cart's shelves: whole-customer boxes and shared boxes.
struct BoxCounts {
  std::size_t full = 0;
  std::size_t shared = 0;
};
BoxCounts countBoxes(const Cart& cart);

// Tab-separated table, one line per cart after a fixed header.
std::string eachCartStats(std::list<Cart> carts);
}  // namespace stats
