#pragma once

#include "geometry/sector_addr.h"

// Straight-line distance: squares of the integer differences and the root in
// double precision, narrowed to float.
float euclidean_distance(SECTOR_ADDR_T a, SECTOR_ADDR_T b);

// |dx| + |dy| summed as integers, converted to float.
float orthogonal_distance(SECTOR_ADDR_T a, SECTOR_ADDR_T b);
