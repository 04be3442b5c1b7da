#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "geometry/sector_addr.h"
#include "model/cart_oitem.h"
#include "model/oitem.h"
#include "wave/carts_loader.h"

// Shared inputs of the route solver tests.
namespace route_fixtures {

// Addresses of the three lines the routing examples walk: V row C cell 5
// (88, 34), G row 5 cell 17 (312, 186), P row 1 cell 10 (774, 218).
inline const std::string kAddressV = "VCC0001005";
inline const std::string kAddressG = "G000502017";
inline const std::string kAddressP = "P000101010";

// A point on the northern line of sector V (row A), as the routes' fixed
// start and end points are.
inline SECTOR_ADDR_T pointOnRowA(int x) {
  SECTOR_ADDR_T point;
  point.sector = "VAA";
  point.x = x;
  return point;
}
// The planner's own fixed start and end of every route.
using ::routeEnd;
using ::routeStart;

// One pick line; the product number tells the lines apart in a route.
inline CartOItem stop(int product, const std::string& address) {
  return CartOItem(OItem(1, product, address, 1));
}

inline std::vector<int> productsOf(const std::vector<CartOItem>& route) {
  std::vector<int> products;
  products.reserve(route.size());
  for (const CartOItem& item : route) products.push_back(item.oItem.productID);
  return products;
}

// A random valid address text in one of the four sectors.
inline std::string randomAddress(std::mt19937& rng) {
  auto pick = [&rng](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
  };
  char text[16];
  switch (pick(0, 3)) {
    case 0: {  // V: row letter, then cell; rows B and D have small cells
      const int row = pick(0, 5);
      const int cells = row == 0 ? 45 : (row == 1 || row == 3) ? 380 : 40;
      const char letter = static_cast<char>('A' + row);
      std::snprintf(text, sizeof text, "V%c%c0001%03d", letter, letter,
                    pick(1, cells));
      break;
    }
    case 1: {  // G: rows 0-3 and 36-40 have small cells
      const int row = pick(0, 40);
      const bool small = row <= 3 || row >= 36;
      std::snprintf(text, sizeof text, "G00%02d01%03d", row,
                    pick(1, small ? 246 : 31));
      break;
    }
    case 2:
      std::snprintf(text, sizeof text, "P00%02d01%03d", pick(0, 60),
                    pick(0, 60));
      break;
    default:
      std::snprintf(text, sizeof text, "GP0%02d01%03d", pick(0, 8),
                    pick(0, 30));
      break;
  }
  return text;
}

// count random lines numbered 1..count from product 1 up.
inline std::vector<CartOItem> randomCart(std::mt19937& rng, int count) {
  std::vector<CartOItem> cart;
  cart.reserve(count);
  for (int product = 1; product <= count; ++product) {
    cart.push_back(stop(product, randomAddress(rng)));
  }
  return cart;
}

}  // namespace route_fixtures
