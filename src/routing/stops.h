#pragma once

// The stops of a walk: the places where the picker halts.

#include <cstddef>
#include <vector>

#include "geometry/sector_addr.h"
#include "model/cart_oitem.h"

// One stop: consecutive lines of a pick list picked at one place (the same
// plan point, measured 0 apart), as indices into the pick list.
struct Stop {
  SECTOR_ADDR_T point;  // the place of the stop's first line
  std::vector<std::size_t> lines;
};

// The stops of a pick list in walking order; every line in exactly one.
std::vector<Stop> groupStops(const std::vector<CartOItem>& lines);
