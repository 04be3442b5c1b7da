#pragma once

#include <string>

#include "geometry/sector_addr.h"

namespace ver2::mapping {
// Each takes the whole address text and returns the plan point with an empty
// sector (WAddress sets it). Texts too short or without digits where a number
// is read throw std::out_of_range or std::invalid_argument.
SECTOR_ADDR_T GP_SectorMapping(std::string text);
SECTOR_ADDR_T G_SectorMapping(std::string text);
SECTOR_ADDR_T P_SectorMapping(std::string text);
SECTOR_ADDR_T V_SectorMapping(std::string text);
}  // namespace ver2::mapping

// A storage address text together with its resolved plan point. Immutable.
// A text whose first character is not G, V or P resolves to the all-zero
// point, which measures 0 to every other point.
class WAddress {
 public:
  explicit WAddress(std::string text);

  SECTOR_ADDR_T getWarehouseWAddress() const { return warehouseAddress; }
  std::string getRawSectorAddress() const { return rawSectorAddress; }

  // Read-only view for hot loops that must not copy.
  const SECTOR_ADDR_T& point() const { return warehouseAddress; }

 private:
  SECTOR_ADDR_T warehouseAddress;
  std::string rawSectorAddress;
};
