#include "grouping/point_distances.h"

#include "geometry/warehouse.h"

namespace grouping_customers::detail {

namespace {

// What the distance oracle reads of a point: its sector, plan position and
// indices (not its level, which stacks cells at one position).
using PointKey = std::tuple<std::string, int, int, int, int>;

PointKey keyOf(const SECTOR_ADDR_T& p) {
  return {p.sector, p.x, p.y, p.xIndex, p.yIndex};
}

}  // namespace

PointDistances::PointDistances(const CustomerMultimap& customers) {
  for (const auto& [key, customer] : customers) {
    auto [entry, first] = customerPoints_.try_emplace(customer.customerID);
    if (!first) givenTwice_.insert(customer.customerID);
    std::vector<int>& lines = entry->second;
    lines.clear();
    lines.reserve(customer.oItems.size());
    for (const OItem& line : customer.oItems) {
      const SECTOR_ADDR_T& at = line.location();
      auto [it, added] =
          numbers_.try_emplace(keyOf(at), static_cast<int>(points_.size()));
      if (added) points_.push_back(at);
      lines.push_back(it->second);
    }
  }
  columns_.resize(points_.size());
}

const std::vector<int>& PointDistances::linePoints(const Customer& customer) {
  if (!givenTwice_.contains(customer.customerID)) {
    return customerPoints_.at(customer.customerID);
  }
  scratch_.clear();
  for (const OItem& line : customer.oItems) {
    scratch_.push_back(numbers_.at(keyOf(line.location())));
  }
  return scratch_;
}

const std::vector<int>& PointDistances::column(int to) {
  std::vector<int>& distances = columns_[static_cast<std::size_t>(to)];
  if (distances.empty() && !points_.empty()) {
    distances.reserve(points_.size());
    const SECTOR_ADDR_T& target = points_[static_cast<std::size_t>(to)];
    for (const SECTOR_ADDR_T& from : points_) {
      distances.push_back(Warehouse::distance(from, target));
    }
  }
  return distances;
}

std::vector<std::int64_t> PointDistances::sumsToLines(
    const std::vector<int>& seedPoints) {
  std::vector<std::int64_t> sums(points_.size(), 0);
  for (int to : seedPoints) {
    const std::vector<int>& distances = column(to);
    for (std::size_t p = 0; p < sums.size(); ++p) sums[p] += distances[p];
  }
  return sums;
}

}  // namespace grouping_customers::detail
