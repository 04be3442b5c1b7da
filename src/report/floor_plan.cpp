#include "report/floor_plan.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <vector>

#include "geometry/layout.h"
#include "geometry/waddress.h"
#include "report/markup.h"
#include "wave/carts_loader.h"

namespace report {

namespace {

// The cells of one rack row and their size.
struct RowKind {
  float depth;  // across the aisle
  float width;  // of one cell along the row
  int firstCell;
  int lastCell;
};

// One sector being drawn. In V and G the rows run west to east and the
// cross corridors north to south; in P and GP it is the other way round.
struct SectorDrawing {
  const char* name;
  bool rowsAlongX;
  int facingParity;  // the layout's: which rows face across an aisle
  std::span<const int> crossCorridors;
  PlanBox racks{1e9, 1e9, -1e9, -1e9};
  std::string svg = {};
};

void include(PlanBox& box, double x, double y) {
  box.minX = std::min(box.minX, x);
  box.minY = std::min(box.minY, y);
  box.maxX = std::max(box.maxX, x);
  box.maxY = std::max(box.maxY, y);
}

std::string rect(const char* cls, double x, double y, double w, double h) {
  return std::string("<rect class=\"") + cls + "\" x=\"" + svgNumber(x) +
         "\" y=\"" + svgNumber(y) + "\" width=\"" + svgNumber(w) +
         "\" height=\"" + svgNumber(h) + "\"/>";
}

std::string line(const char* cls, double x1, double y1, double x2, double y2) {
  return std::string("<line class=\"") + cls + "\" x1=\"" + svgNumber(x1) +
         "\" y1=\"" + svgNumber(y1) + "\" x2=\"" + svgNumber(x2) + "\" y2=\"" +
         svgNumber(y2) + "\"/>";
}

std::string label(const char* cls,
                  double x,
                  double y,
                  const std::string& text) {
  return std::string("<text class=\"") + cls + "\" x=\"" + svgNumber(x) +
         "\" y=\"" + svgNumber(y) + "\">" + escape(text) + "</text>";
}

// The address of a cell at level 1: sector code, row, level, cell.
std::string cellAddress(const std::string& code, int row, int cell) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%02d01%03d", code.c_str(), row, cell);
  return text;
}

// One row of racks: its cells placed by the address mapping, split into
// blocks where a cross corridor passes. The rack stands on the side of the
// row's pick face away from the row it faces across the aisle. `index` is
// the row's yIndex in V and G, its xIndex in P and GP.
void drawRow(SectorDrawing& sector,
             int index,
             const RowKind& kind,
             const std::string& code,
             int row) {
  std::vector<double> along;
  double face = 0;
  for (int cell = kind.firstCell; cell <= kind.lastCell; ++cell) {
    const SECTOR_ADDR_T p = WAddress(cellAddress(code, row, cell)).point();
    along.push_back(sector.rowsAlongX ? p.x : p.y);
    face = sector.rowsAlongX ? p.y : p.x;
  }
  const bool towardsLower = (index % 2 == 1) == (sector.facingParity % 2 == 1);
  const double across = towardsLower ? face - kind.depth : face;
  std::size_t first = 0;
  for (std::size_t i = 1; i <= along.size(); ++i) {
    bool split = i == along.size();
    for (int corridor : sector.crossCorridors) {
      if (!split && along[i - 1] < corridor && corridor <= along[i]) {
        split = true;
      }
    }
    if (!split) continue;
    const double from = along[first] - kind.width / 2;
    const double length = along[i - 1] - along[first] + kind.width;
    if (sector.rowsAlongX) {
      sector.svg += rect("rack", from, across, length, kind.depth);
      include(sector.racks, from, across);
      include(sector.racks, from + length, across + kind.depth);
    } else {
      sector.svg += rect("rack", across, from, kind.depth, length);
      include(sector.racks, across, from);
      include(sector.racks, across + kind.depth, from + length);
    }
    first = i;
  }
}

// The rows of each sector with the cells their racks hold.
void drawRacks(std::vector<SectorDrawing>& sectors) {
  for (int r = 0; r < 6; ++r) {  // V: rows A to F, the letter doubled
    const char letter = static_cast<char>('A' + r);
    RowKind kind{secV::big_cell_depth, secV::big_cell_width, 1, 35};
    if (r == 0) {
      kind = {secV::pallet_cell_depth, secV::pallet_cell_width, 1, 45};
    } else if (r == 1 || r == 3) {
      kind = {secV::small_cell_depth, secV::small_cell_width, 1, 380};
    }
    drawRow(sectors[0], r, kind, std::string{'V', letter, letter}, 0);
  }
  for (int row = 0; row <= 40; ++row) {
    const bool small = std::count(secG::rows_246_celled.begin(),
                                  secG::rows_246_celled.end(), row) > 0;
    RowKind kind{secG::cell_depth,
                 small ? secG::small_cell_width : secG::big_cell_width, 0,
                 small ? 245 : 31};
    drawRow(sectors[1], row, kind, "G00", row);
  }
  for (int column = 0; column <= 6; ++column) {
    drawRow(sectors[2], column, {secP::cell_depth, secP::cell_width, 0, 70},
            "P00", column);
  }
  for (int column = 1; column <= 8; ++column) {
    RowKind kind{secGP::cell_depth, secGP::cell_width, 0, column > 6 ? 27 : 29};
    drawRow(sectors[3], column, kind, "GP0", column);
  }
}

// Outline, name and cross corridors of a drawn sector.
std::string sectorFrame(const SectorDrawing& s, PlanBox* drawn) {
  const double margin = 8;
  PlanBox o{s.racks.minX - margin, s.racks.minY - margin, s.racks.maxX + margin,
            s.racks.maxY + margin};
  include(*drawn, o.minX, o.minY - 16);
  include(*drawn, o.maxX, o.maxY);
  std::string svg =
      rect("sector", o.minX, o.minY, o.maxX - o.minX, o.maxY - o.minY) +
      label("sector-name", o.minX, o.minY - 4, std::string("sector ") + s.name);
  for (int c : s.crossCorridors) {
    svg += s.rowsAlongX ? line("corridor", c, o.minY, c, o.maxY)
                        : line("corridor", o.minX, c, o.maxX, c);
  }
  return svg;
}

std::string marker(const char* cls,
                   const SECTOR_ADDR_T& p,
                   const std::string& title) {
  return std::string("<rect class=\"") + cls + "\" x=\"" + svgNumber(p.x - 4) +
         "\" y=\"" + svgNumber(p.y - 4) +
         "\" width=\"8\" height=\"8\"><title>" + escape(title) +
         "</title></rect>";
}

// Exits, route start and end.
std::string fixedPoints(PlanBox* drawn) {
  std::string svg = "<g class=\"exits\">";
  svg += marker("exit", secG::G_north_exit, "north exit of G");
  svg += marker("exit", secG::G_lower_exit, "lower exit of G");
  // The middle exit of P stands where its north exit does.
  svg += marker("exit", secP::P_north_exit, "north exit of P");
  svg += marker("exit", secP::P_south_exit, "south exit of P");
  for (const SECTOR_ADDR_T& e : secGP::GP_exits) {
    svg += marker("exit", e, "exit of GP");
  }
  svg += "</g>";
  for (const auto& [point, name] :
       {std::pair{routeStart(), "start"}, std::pair{routeEnd(), "end"}}) {
    svg += std::string("<circle class=\"") + name + "\" cx=\"" +
           svgNumber(point.x) + "\" cy=\"" + svgNumber(point.y) +
           "\" r=\"6\"><title>route " + name + " (" + point.sector + " x " +
           std::to_string(point.x) + ", y " + std::to_string(point.y) +
           ")</title></circle>" +
           label("point-name", point.x - 10, point.y - 24, name);
    include(*drawn, point.x, point.y - 34);
  }
  return svg;
}

// A 20 m scale bar below the plan and a north arrow at its top right.
std::string scaleAndNorth(PlanBox* drawn) {
  const double x = drawn->minX + 10;
  const double y = drawn->maxY + 30;
  std::string svg = "<g class=\"scale\">" + line("bar", x, y, x + 200, y);
  for (int m = 0; m <= 20; m += 10) {
    svg += line("tick", x + m * 10, y - 6, x + m * 10, y + 6) +
           label("scale-label", x + m * 10 - 6, y + 22,
                 m == 0 ? "0" : std::to_string(m) + " m");
  }
  svg += "</g>";
  const double nx = drawn->maxX + 10;
  const double ny = drawn->minY + 10;
  svg += "<g class=\"north\"><path d=\"M" + svgNumber(nx) + " " +
         svgNumber(ny + 50) + "V" + svgNumber(ny) + "l-8 16M" + svgNumber(nx) +
         " " + svgNumber(ny) + "l8 16\"/>" +
         label("north-label", nx - 7, ny + 72, "N") + "</g>";
  include(*drawn, x, y + 30);
  include(*drawn, nx + 20, ny + 80);
  return svg;
}

}  // namespace

std::string floorPlanSvg(PlanBox* drawn) {
  std::vector<SectorDrawing> sectors = {
      {"V", true, secV::first_row_opposite, secV::vertical_corridors},
      {"G", true, secG::first_row_opposite, secG::vertical_corridors},
      {"P", false, secP::first_column_opposite, secP::horizontal_cooridors},
      {"GP", false, secGP::first_column_opposite, secGP::horizontal_corridors},
  };
  drawRacks(sectors);
  *drawn = PlanBox{1e9, 1e9, -1e9, -1e9};
  std::string frames = "<g class=\"sectors\">";
  std::string racks = "<g class=\"racks\">";
  for (const SectorDrawing& s : sectors) {
    frames += sectorFrame(s, drawn);
    racks += s.svg;
  }
  std::string svg = frames + "</g>" + racks + "</g>" + fixedPoints(drawn);
  return svg + scaleAndNorth(drawn);
}

}  // namespace report
