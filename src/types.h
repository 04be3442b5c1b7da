#pragma once

// Units and fixed numbers shared by the whole planner.
//
// Plan coordinates and walking distances are whole decimetres (int). Box,
// shelf and item dimensions, volumes and weights are single-precision floats
// in the wave file's own units.

#include <climits>
#include <cmath>

using Distance = int;  // decimetres

// The largest int, used as the start value of every "smallest so far" search.
constexpr int INT_INFINITY = INT_MAX;  // 2147483647

// Converts a float or double to int by truncation toward zero, clamped to the
// int range; NaN becomes 0. Used wherever a volume is turned into a key or a
// piece size, so that no conversion is ever undefined.
template <typename F>
constexpr int clampToInt(F value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<F>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<F>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}
