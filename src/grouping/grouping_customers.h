#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <vector>

#include "geometry/warehouse.h"
#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/setup_configuration.h"

namespace grouping_customers {

// A position on the plan, decimetres.
struct Point {
  int x = 0;
  int y = 0;
};

// One k-means cluster of the current pass.
struct Cluster {
  int id = 0;
  Point centroid;
  std::vector<Point> points;
  CustomerMultimap customers;
};

// Told, while a grouping works, how many of its customers are on carts.
using PlacedProgress = std::function<void(std::size_t placed)>;

// Each grouping consumes the multimap (empty on return) and returns the carts
// in the order described by its algorithm. Every customer ends up on at least
// one cart.
std::list<Cart> algorithm_AVGDistances(SolverConfiguration& solver,
                                       CartConfiguration& carts,
                                       CustomerMultimap& customers,
                                       Warehouse& warehouse,
                                       const PlacedProgress& progress = {});
std::list<Cart> leastSquareMethod(SolverConfiguration& solver,
                                  CartConfiguration& carts,
                                  CustomerMultimap& customers,
                                  const PlacedProgress& progress = {});
std::list<Cart> kMeansClustering(SolverConfiguration& solver,
                                 CartConfiguration& carts,
                                 CustomerMultimap& customers,
                                 const PlacedProgress& progress = {});

}  // namespace grouping_customers
