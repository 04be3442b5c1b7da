#pragma once

// Walking distances between the distinct plan points of a wave's order
// lines, for the groupings that rank customers by distance. A wave of many
// thousand lines picks from a few thousand places, so one distance per pair
// of places answers every pair of lines. Internal to the grouping
// algorithms.

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "geometry/sector_addr.h"
#include "model/customer.h"

namespace grouping_customers::detail {

class PointDistances {
 public:
  // Numbers the distinct points of every line of the customers.
  explicit PointDistances(const CustomerMultimap& customers);

  std::size_t pointCount() const { return points_.size(); }

  // Point numbers of the customer's lines, in line order; the customer must
  // be one of those given (its lines unchanged). The reference stays valid
  // until the next call.
  const std::vector<int>& linePoints(const Customer& customer);

  // For every point p, the sum over the seed's lines b of the walk from p
  // to b (p measured first, as a candidate's line is), in 64 bits.
  std::vector<std::int64_t> sumsToLines(const std::vector<int>& seedPoints);

 private:
  // distance(p, to) for every point p, measured the first time it is asked.
  const std::vector<int>& column(int to);

  std::map<std::tuple<std::string, int, int, int, int>, int> numbers_;
  std::vector<SECTOR_ADDR_T> points_;
  // By customer number; a number given twice is looked up line by line.
  std::unordered_map<int, std::vector<int>> customerPoints_;
  std::unordered_set<int> givenTwice_;
  std::vector<int> scratch_;
  std::vector<std::vector<int>> columns_;
};

}  // namespace grouping_customers::detail
