#pragma once

// Internal to the route solvers: a route length summed leg by leg.

#include <cstdint>

#include "types.h"

namespace routing_detail {

// Legs are whole decimetres, each at most INT_MAX (the oracle clamps). The
// sum is kept in 64 bits, which no realistic number of legs can overflow,
// and read back clamped to the int range, so a route past an address with
// absurd coordinates reports INT_MAX instead of a wrapped, negative length.
class RouteLength {
 public:
  void add(int leg) { total_ += leg; }
  int value() const { return clampToInt(total_); }

 private:
  std::int64_t total_ = 0;
};

}  // namespace routing_detail
