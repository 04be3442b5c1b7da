#include "geometry/straight_distances.h"

#include "geometry/measuring_detail.h"

float euclidean_distance(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return ver2::measuring::detail::euclidean(a, b);
}

float orthogonal_distance(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return static_cast<float>(ver2::measuring::detail::orthogonal(a, b));
}
