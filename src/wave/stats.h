#pragma once

#include <list>
#include <string>

#include "model/cart.h"

namespace stats {
// Tab-separated table, one line per cart after a fixed header.
std::string eachCartStats(std::list<Cart> carts);
}  // namespace stats
