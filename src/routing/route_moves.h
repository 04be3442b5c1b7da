#pragma once

// Internal to the shortest-route search: the two moves of the local search,
// each a small value asked what it gains, whether it is valid and how to
// apply it. Gains are exact: every leg is measured in the direction walked.

#include <array>

#include "routing/path_state.h"

namespace route_search::detail {

// 2-opt: walks the stops at positions first .. last in reverse.
struct TwoOptMove {
  int first = 0;
  int last = 0;

  bool isValid(const PathState& path) const {
    return 1 <= first && first < last && last <= path.stopCount();
  }
  Length gain(const PathState& path) const {
    const int a = path.at(first - 1), s = path.at(first);
    const int e = path.at(last), b = path.at(last + 1);
    return Length{path.leg(a, s)} + path.leg(e, b) + path.forward(first, last) -
           (Length{path.leg(a, e)} + path.leg(s, b) +
            path.backward(first, last));
  }
  // The points whose legs change.
  std::array<int, 4> ends(const PathState& path) const {
    return {path.at(first - 1), path.at(first), path.at(last),
            path.at(last + 1)};
  }
  void apply(PathState& path) const { path.reverse(first, last); }
};

// Or-opt: the stops at positions first .. last (at most kLongest of them)
// taken out and put, reversed if asked, between the points at positions
// after and after + 1.
struct OrOptMove {
  static constexpr int kLongest = 3;
  int first = 0;
  int last = 0;
  int after = 0;
  bool reversed = false;

  bool isValid(const PathState& path) const {
    return 1 <= first && first <= last && last <= path.stopCount() &&
           last - first < kLongest && 0 <= after && after <= path.stopCount() &&
           (after < first - 1 || after > last);
  }
  Length gain(const PathState& path) const {
    const int a = path.at(first - 1), s = path.at(first);
    const int e = path.at(last), b = path.at(last + 1);
    const int x = path.at(after), y = path.at(after + 1);
    const Length removed = Length{path.leg(a, s)} + path.leg(e, b) +
                           path.leg(x, y) + path.forward(first, last);
    const Length added = Length{path.leg(a, b)} +
                         (reversed ? Length{path.leg(x, e)} + path.leg(s, y) +
                                         path.backward(first, last)
                                   : Length{path.leg(x, s)} + path.leg(e, y) +
                                         path.forward(first, last));
    return removed - added;
  }
  std::array<int, 6> ends(const PathState& path) const {
    return {path.at(first - 1), path.at(first), path.at(last),
            path.at(last + 1),  path.at(after), path.at(after + 1)};
  }
  void apply(PathState& path) const {
    path.moveSegment(first, last, after, reversed);
  }
};

}  // namespace route_search::detail
