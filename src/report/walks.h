#pragma once

// Cart walks as the HTML report draws them.

#include <string>
#include <vector>

#include "model/cart_oitem.h"
#include "routing/stops.h"

namespace report {

// A walk from the route start through its stops to the route end.
struct DrawnWalk {
  std::vector<Stop> stops;
  // SVG path data, one subpath per leg, through the corners of the walk the
  // distance model measures for that leg.
  std::string path;
  long long distance = 0;  // sum of the legs, decimetres
};

// The walk through the lines in their order.
DrawnWalk drawWalk(const std::vector<CartOItem>& lines);

// The walk's stops as numbered SVG markers, in walking order; the pick list
// names the lines of each.
std::string stopMarkers(const DrawnWalk& walk);

}  // namespace report
