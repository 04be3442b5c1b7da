#pragma once

#include <string>

// A storage location resolved to the warehouse plan. x grows eastward, y
// southward, both in decimetres. Two points are equal when x and y are equal;
// sector, level and indices are not compared.
struct SECTOR_ADDR_T {
  std::string sector;  // first three characters of the address text
  int y = 0;
  int level = 0;
  int x = 0;
  int xIndex = 0;  // cell number in V and G, row number in P and GP
  int yIndex = 0;  // row number in V and G, cell number in P and GP
  int levelCopy = 0;

  bool operator==(const SECTOR_ADDR_T& other) const {
    return x == other.x && y == other.y;
  }
};

// An exit point of the floor plan: a plan point with one extra, unread mark.
struct GRAPH_POINT_T : SECTOR_ADDR_T {
  int mark = 0;
};
