#pragma once

// The warehouse floor plan drawn to scale for the HTML report.

#include <string>

namespace report {

// An area of the plan, decimetres (x east, y south).
struct PlanBox {
  double minX = 0;
  double minY = 0;
  double maxX = 0;
  double maxY = 0;
};

// The floor plan as SVG elements in plan decimetres, north up: each sector's
// outline and racks (placed by the address mapping, so every address lies on
// a rack face), the cross corridors the walks follow, the exits, the route's
// start and end, a scale bar and a north arrow. The area drawn is the
// returned box.
std::string floorPlanSvg(PlanBox* drawn);

}  // namespace report
