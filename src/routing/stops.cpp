#include "routing/stops.h"

#include "geometry/warehouse.h"

std::vector<Stop> groupStops(const std::vector<CartOItem>& lines) {
  std::vector<Stop> stops;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const SECTOR_ADDR_T& here = lines[i].oItem.location();
    if (!stops.empty()) {
      const SECTOR_ADDR_T& last =
          lines[stops.back().lines.back()].oItem.location();
      if (last == here && Warehouse::distance(last, here) == 0) {
        stops.back().lines.push_back(i);
        continue;
      }
    }
    stops.push_back({here, {i}});
  }
  return stops;
}
