#pragma once

#include <cstddef>
#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"
#include "model/cart_oitem.h"
#include "model/setup_configuration.h"

namespace tsp_solver {

// Brute force measures n! orders: the settings that use it do so for at most
// this many lines and hand larger lists to their heuristic.
constexpr std::size_t kBruteForceLineLimit = 9;

// Routes the lines with the solver a route setting names; the one place that
// maps settings to solvers. Returns the route length; *order receives the
// lines in visiting order (the given order for JustMeasureDistance and for
// an unknown setting, which measures nothing and returns 0).
// *provenOptimal, when given, is set to whether the route is known to be the
// shortest (brute force, or ShortestRoute solved exactly).
int routeBySetting(ShortestPathAlgorithms setting,
                   std::vector<CartOItem> items,
                   Warehouse& warehouse,
                   std::vector<CartOItem>* order,
                   SECTOR_ADDR_T start,
                   SECTOR_ADDR_T end,
                   bool* provenOptimal = nullptr);

}  // namespace tsp_solver
