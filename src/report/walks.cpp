#include "report/walks.h"

#include "geometry/warehouse.h"
#include "wave/carts_loader.h"

namespace report {

namespace {

void appendLeg(std::string& path,
               const SECTOR_ADDR_T& from,
               const SECTOR_ADDR_T& to) {
  const std::vector<PlanPoint> corners = Warehouse::walk(from, to);
  if (corners.size() < 2) return;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    path += i == 0 ? "M" : i == 1 ? "L" : " ";
    path += std::to_string(corners[i].x) + " " + std::to_string(corners[i].y);
  }
}

}  // namespace

DrawnWalk drawWalk(const std::vector<CartOItem>& lines) {
  DrawnWalk walk;
  walk.stops = groupStops(lines);
  SECTOR_ADDR_T here = routeStart();
  for (const Stop& stop : walk.stops) {
    for (std::size_t line : stop.lines) {
      const SECTOR_ADDR_T& next = lines[line].oItem.location();
      walk.distance += Warehouse::distance(here, next);
      // Lines of one stop lie 0 apart: only the leg into the stop is drawn.
      if (line == stop.lines.front()) appendLeg(walk.path, here, next);
      here = next;
    }
  }
  const SECTOR_ADDR_T end = routeEnd();
  walk.distance += Warehouse::distance(here, end);
  appendLeg(walk.path, here, end);
  return walk;
}

std::string stopMarkers(const DrawnWalk& walk) {
  std::string svg;
  for (std::size_t i = 0; i < walk.stops.size(); ++i) {
    const SECTOR_ADDR_T& at = walk.stops[i].point;
    svg += "<circle cx=\"" + std::to_string(at.x) + "\" cy=\"" +
           std::to_string(at.y) + "\" r=\"4\"/><text x=\"" +
           std::to_string(at.x + 5) + "\" y=\"" + std::to_string(at.y - 5) +
           "\">" + std::to_string(i + 1) + "</text>";
  }
  return svg;
}

}  // namespace report
