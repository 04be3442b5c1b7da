#pragma once

// Internal to the shortest-route search: a route being improved, with the
// per-position state that makes the gain of a move O(1).

#include <span>
#include <vector>

#include "routing/distance_matrix.h"
#include "routing/route_search_detail.h"

namespace route_search::detail {

// The walk start, stops, end over all points of a matrix, by position:
// position 0 holds legs.start(), 1 .. n the stops, n + 1 legs.end(). Keeps
// each point's position and the length walked forward and backward up to
// every position, so the length of any stretch, walked either way, is one
// subtraction: a reversed stretch is measured by its real legs.
class PathState {
 public:
  PathState(const DistanceMatrix& legs, std::span<const int> order);

  int stopCount() const { return static_cast<int>(path_.size()) - 2; }
  int at(int position) const { return path_[position]; }
  int positionOf(int point) const { return position_[point]; }
  int leg(int from, int to) const { return legs_->leg(from, to); }
  Length length() const { return forward_.back(); }
  // The legs from position first to position last (first <= last), walked
  // forward, and the same stretch walked from last back to first.
  Length forward(int first, int last) const {
    return forward_[last] - forward_[first];
  }
  Length backward(int first, int last) const {
    return backward_[last] - backward_[first];
  }
  // The stops in visiting order.
  std::vector<int> stops() const;

  // Reverses positions first .. last (1 <= first < last <= n).
  void reverse(int first, int last);
  // Takes positions first .. last out and puts them, reversed if asked,
  // between the points now at positions after and after + 1 (after outside
  // first - 1 .. last).
  void moveSegment(int first, int last, int after, bool reversed);
  // Swaps the neighbouring stretches first .. middle - 1 and
  // middle .. last - 1 (1 <= first < middle < last <= n + 1).
  void swapStretches(int first, int middle, int last);

 private:
  // Positions and walked lengths again from position from onwards.
  void refresh(int from);

  const DistanceMatrix* legs_;
  std::vector<int> path_;
  std::vector<int> position_;
  std::vector<Length> forward_;
  std::vector<Length> backward_;
};

}  // namespace route_search::detail
