#pragma once

// The walks pickers recorded: for every row of a recorded picking (or of a
// wave that carries "Cart" and "AddressRank"), the cart that picked it and
// the rank of its address in that cart's walk.

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "model/cart_oitem.h"

// Whole walking distance of a set of carts, decimetres, and their count.
struct WalkTotals {
  int totalDistance = 0;
  int carts = 0;
};

// One recorded cart: its number and its lines in the order walked (highest
// "AddressRank" first, equal ranks in file order), each line's rank in its
// qty.
struct RecordedWalk {
  int cart = 0;
  std::vector<CartOItem> lines;
};

// The walks of the rows, carts in order of first appearance. A row without
// one of "Customer", "Product", "AddressCode", "Cart", "AddressRank", a value
// of the wrong type or range, or an address without the address form throws
// std::invalid_argument naming the source, the row (from 1), the key and the
// value.
std::vector<RecordedWalk> recordedWalksOf(const nlohmann::json& rows,
                                          const std::string& source);

// The same for a recorded picking file; a missing file throws
// std::runtime_error naming the path, a file of no valid JSON
// std::invalid_argument.
std::vector<RecordedWalk> readRecordedWalks(const std::string& path);
