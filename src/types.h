#pragma once

// Units and fixed numbers shared by the whole planner.
//
// Plan coordinates and walking distances are whole decimetres (int). Box,
// shelf and item dimensions, volumes and weights are single-precision floats
// in the wave file's own units.

#include <climits>
#include <cmath>
#include <type_traits>

using Distance = int;  // decimetres

// The largest int, used as the start value of every "smallest so far" search.
constexpr int INT_INFINITY = INT_MAX;  // 2147483647

// Converts a number to int, clamped to the int range: a float or double is
// truncated toward zero and NaN becomes 0; a wider integer (a 64-bit sum of
// distances, a count) saturates at INT_MIN and INT_MAX instead of wrapping.
// The one narrowing to int of the planner, so that no conversion is ever
// undefined and no sum of distances ever turns negative.
template <typename F>
constexpr int clampToInt(F value) {
  if constexpr (std::is_floating_point_v<F>) {
    if (std::isnan(value)) return 0;
  }
  if (value >= static_cast<F>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<F>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}
