#pragma once

#include <cstddef>
#include <list>
#include <optional>
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

// What the tables for people show of one cart.
struct CartFigures {
  std::size_t customers = 0;
  BoxCounts boxes;
  std::size_t stops = 0;  // places the route halts at
  int distance = 0;       // decimetres
};
CartFigures cartFigures(const Cart& cart);

// Decimetres as metres with one decimal: 6871 as "687.1".
std::string metresText(long long decimetres);

// The whole planned walking distance of the carts, decimetres.
long long plannedDistance(const std::list<Cart>& carts);

// How much shorter the planned walk is than a reference walk, in per cent
// of the reference (negative when longer); nothing when the reference is not
// positive.
std::optional<double> savingPercent(long long reference, long long planned);

// The per-cart table for people: aligned columns with their units, then a
// line with the whole and average distance.
std::string cartTable(const std::list<Cart>& carts);
}  // namespace stats
