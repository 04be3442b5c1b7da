#pragma once

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "geometry/sector_addr.h"
#include "model/cart_oitem.h"
#include "model/oitem.h"
#include "support/address_generator.h"
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
using testing_support::randomAddress;

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
