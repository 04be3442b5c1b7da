#include "routing/path_state.h"

#include <algorithm>
#include <cstddef>

namespace route_search::detail {

PathState::PathState(const DistanceMatrix& legs, std::span<const int> order)
    : legs_(&legs),
      path_(order.size() + 2),
      position_(order.size() + 2),
      forward_(order.size() + 2, 0),
      backward_(order.size() + 2, 0) {
  path_.front() = legs.start();
  std::copy(order.begin(), order.end(), path_.begin() + 1);
  path_.back() = legs.end();
  refresh(0);
}

std::vector<int> PathState::stops() const {
  return std::vector<int>(path_.begin() + 1, path_.end() - 1);
}

void PathState::refresh(int from) {
  const int size = static_cast<int>(path_.size());
  for (int p = from; p < size; ++p) {
    position_[path_[p]] = p;
    if (p > 0) {
      forward_[p] = forward_[p - 1] + legs_->leg(path_[p - 1], path_[p]);
      backward_[p] = backward_[p - 1] + legs_->leg(path_[p], path_[p - 1]);
    }
  }
}

void PathState::reverse(int first, int last) {
  std::reverse(path_.begin() + first, path_.begin() + last + 1);
  refresh(first);
}

void PathState::moveSegment(int first, int last, int after, bool reversed) {
  const auto at = [this](int p) { return path_.begin() + p; };
  const int length = last - first + 1;
  int placed = 0;  // where the segment begins once moved
  if (after > last) {
    std::rotate(at(first), at(last + 1), at(after + 1));
    placed = after - length + 1;
  } else {
    std::rotate(at(after + 1), at(first), at(last + 1));
    placed = after + 1;
  }
  if (reversed) std::reverse(at(placed), at(placed + length));
  refresh(std::min(first, after + 1));
}

void PathState::swapStretches(int first, int middle, int last) {
  std::rotate(path_.begin() + first, path_.begin() + middle,
              path_.begin() + last);
  refresh(first);
}

}  // namespace route_search::detail
