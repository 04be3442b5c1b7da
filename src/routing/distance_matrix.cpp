#include "routing/distance_matrix.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "geometry/warehouse.h"

DistanceMatrix::DistanceMatrix(std::span<const SECTOR_ADDR_T> points,
                               const SECTOR_ADDR_T& start,
                               const SECTOR_ADDR_T& end)
    : size_(points.size() + 2), legs_(size_ * size_) {
  auto pointAt = [&](std::size_t i) -> const SECTOR_ADDR_T& {
    if (i < points.size()) return points[i];
    return i == points.size() ? start : end;
  };
  for (std::size_t from = 0; from < size_; ++from) {
    const SECTOR_ADDR_T& a = pointAt(from);
    for (std::size_t to = 0; to < size_; ++to) {
      legs_[from * size_ + to] = Warehouse::distance(a, pointAt(to));
    }
  }
}

DistanceMatrix DistanceMatrix::fromLegs(int pointCount, std::vector<int> legs) {
  if (pointCount < 0) {
    throw std::invalid_argument("DistanceMatrix: negative point count " +
                                std::to_string(pointCount));
  }
  const std::size_t size = static_cast<std::size_t>(pointCount) + 2;
  if (legs.size() != size * size) {
    throw std::invalid_argument(
        "DistanceMatrix: " + std::to_string(pointCount) + " points need " +
        std::to_string(size * size) + " legs, got " +
        std::to_string(legs.size()));
  }
  for (std::size_t i = 0; i < legs.size(); ++i) {
    if (legs[i] < 0) {
      throw std::invalid_argument("DistanceMatrix: leg " +
                                  std::to_string(i / size) + " to " +
                                  std::to_string(i % size) + " is negative (" +
                                  std::to_string(legs[i]) + ")");
    }
  }
  return DistanceMatrix(size, std::move(legs));
}
