#pragma once

// Steps shared by the planning run, the choice of the best grouping and the
// recorded-walk comparison (internal to the wave operations).

#include <cstddef>
#include <list>
#include <string>

#include "geometry/warehouse.h"
#include "grouping/grouping_customers.h"
#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/setup_configuration.h"

namespace planning_steps {

// The trial with the strictly smallest total; the earlier one wins a tie.
short bestTrial(const int (&totals)[3]);

// total + distance, held at the int range's ends instead of wrapping: a walk
// past an absurdly far address is already clamped to the largest int.
int addDistance(int total, int distance);

// Writes the whole-distance progress line; an average of 0 for no carts.
void printWholeDistance(int total, std::size_t carts);

// Orders the cart's pick list by the route setting, adds the route length
// to the cart and returns it.
int routeCart(Cart& cart, ShortestPathAlgorithms setting, Warehouse& warehouse);

// Runs the grouping the setting names (unknown settings: average distances).
std::list<Cart> groupCustomers(
    int setting,
    SolverConfiguration& solver,
    CartConfiguration& cartConfig,
    CustomerMultimap& customers,
    Warehouse& warehouse,
    const grouping_customers::PlacedProgress& progress = {});

// The progress step of a grouping setting: "grouping " and its name.
std::string groupingStep(int setting);

}  // namespace planning_steps
