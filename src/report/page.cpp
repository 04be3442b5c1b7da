// The report page: head, summary, floor plan with the walks, cart lists and
// pick lists, put together in one HTML text.

#include <cstdio>
#include <string>
#include <vector>

#include "report/cart_views.h"
#include "report/floor_plan.h"
#include "report/markup.h"
#include "report/page_assets.h"
#include "report/report.h"
#include "wave/stats.h"

namespace report {

namespace {

std::string row(const std::string& name, const std::string& value) {
  return "<tr><th>" + name + "<td class=\"n\">" + value + "</tr>";
}

// Whole and average walking distance of a set of walks, decimetres.
struct WalkFigures {
  long long whole = 0;
  long long average = 0;
};

WalkFigures walkFigures(const std::vector<WalkView>& views, bool planned) {
  WalkFigures f;
  for (const WalkView& view : views) {
    f.whole +=
        planned ? view.cart->getEstimatedWalkedDistance() : view.walk.distance;
  }
  if (!views.empty())
    f.average = f.whole / static_cast<long long>(views.size());
  return f;
}

std::string distanceText(long long decimetres) {
  return stats::metresText(decimetres) + " m<br>(" +
         std::to_string(decimetres) + " dm)";
}

std::string summary(const ReportInput& input,
                    const std::vector<WalkView>& planned,
                    const std::vector<WalkView>& recorded) {
  std::size_t full = 0, shared = 0;
  for (const Cart& cart : input.carts) {
    const stats::BoxCounts boxes = stats::countBoxes(cart);
    full += boxes.full;
    shared += boxes.shared;
  }
  std::string html =
      "<div class=\"summary\"><table>" + row("Wave file", escape(input.wave)) +
      row("Rows", std::to_string(input.rows)) +
      row("Order lines", std::to_string(input.orderLines)) +
      row("Customers", std::to_string(input.customers)) +
      row("Boxes", std::to_string(full + shared) + " (" + std::to_string(full) +
                       " full, " + std::to_string(shared) + " shared)") +
      row("Carts", std::to_string(planned.size())) + "</table><table>";
  for (const auto& [name, value] : input.settings) {
    html += row(escape(name), escape(value));
  }
  html += "</table><table><tr><th><th>Plan";
  const bool withRecorded = input.recorded.has_value();
  if (withRecorded) html += "<th>Recorded";
  const WalkFigures plan = walkFigures(planned, true);
  const WalkFigures rec = walkFigures(recorded, false);
  html += "</tr><tr><th>Carts<td class=\"n\">" +
          std::to_string(planned.size()) +
          (withRecorded ? "<td class=\"n\">" + std::to_string(recorded.size())
                        : "") +
          "</tr><tr><th>Whole walk<td class=\"n\">" + distanceText(plan.whole) +
          (withRecorded ? "<td class=\"n\">" + distanceText(rec.whole) : "") +
          "</tr><tr><th>Average per cart<td class=\"n\">" +
          distanceText(plan.average) +
          (withRecorded ? "<td class=\"n\">" + distanceText(rec.average) : "") +
          "</tr>";
  if (withRecorded) {
    std::string saving = "n/a";
    if (rec.whole > 0) {
      char text[32];
      std::snprintf(text, sizeof text, "%.1f %%",
                    100.0 * static_cast<double>(rec.whole - plan.whole) /
                        static_cast<double>(rec.whole));
      saving = text;
    }
    html += "<tr><th>Saving<td class=\"n\" colspan=\"2\">" + saving + "</tr>";
  }
  html +=
      "</table></div><p class=\"note\">Walking distances run along the "
      "aisles, cross corridors and exits; they are measured in "
      "decimetres (dm) and shown in metres (1 m = 10 dm). The floor plan "
      "is drawn to scale, north up.";
  if (!withRecorded) html += " " + escape(input.recordedNote);
  return html + "</p>";
}

std::string viewSwitch() {
  std::string html = "<div class=\"view-switch\">Show:";
  for (const char* view : {"plan", "recorded", "both"}) {
    html += std::string(
                " <label><input type=\"radio\" name=\"view\" "
                "value=\"") +
            view + "\"" + (std::string(view) == "plan" ? " checked" : "") +
            "> " + view + "</label>";
  }
  return html + "</div>";
}

}  // namespace

std::string renderReport(const ReportInput& input) {
  const std::vector<WalkView> planned = plannedViews(input.carts);
  const std::vector<WalkView> recorded =
      input.recorded ? recordedViews(*input.recorded) : std::vector<WalkView>();

  PlanBox box;
  const std::string floor = floorPlanSvg(&box);
  // Keep a stop at an address outside the racks in view.
  for (const auto* views : {&planned, &recorded}) {
    for (const WalkView& view : *views) {
      for (const Stop& stop : view.walk.stops) {
        box.minX = std::min<double>(box.minX, stop.point.x - 10);
        box.minY = std::min<double>(box.minY, stop.point.y - 10);
        box.maxX = std::max<double>(box.maxX, stop.point.x + 10);
        box.maxY = std::max<double>(box.maxY, stop.point.y + 10);
      }
    }
  }
  const std::string viewBox = svgNumber(box.minX) + " " + svgNumber(box.minY) +
                              " " + svgNumber(box.maxX - box.minX) + " " +
                              svgNumber(box.maxY - box.minY);

  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\" data-errors=\"0\">\n<head>\n"
      "<meta charset=\"utf-8\">\n<meta name=\"viewport\" "
      "content=\"width=device-width, initial-scale=1\">\n<title>Picking plan "
      "&mdash; " +
      escape(input.wave) + "</title>\n<script>" + kErrorRecorder +
      "</script>\n<style>" + kStyle +
      "</style>\n</head>\n<body data-view=\"plan\">\n<header><h1>Picking "
      "plan <span>" +
      escape(input.wave) + "</span></h1>" + summary(input, planned, recorded) +
      "</header>\n<main>\n<figure "
      "id=\"map\">" +
      (input.recorded ? viewSwitch() : "") +
      "\n<svg id=\"plan\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" +
      viewBox + "\" role=\"img\" aria-label=\"Floor plan with the walks\">\n" +
      floor + "\n" + walkPaths(planned, "planned") + "\n" +
      walkPaths(recorded, "recorded") + "\n" + stopGroups(planned, "planned") +
      "\n" + stopGroups(recorded, "recorded") +
      "\n</svg></figure>\n<aside>\n<div class=\"lists\"><p><a "
      "href=\"#\">Show every walk</a>; select a cart to follow its walk, "
      "stops and pick list. Scroll over the plan to zoom, drag to move, "
      "double-click to see it whole.</p>" +
      walkList(planned, "planned") +
      (input.recorded ? walkList(recorded, "recorded") : "") +
      "</div>\n<div class=\"details\">" + walkDetails(planned, "planned") +
      "\n" + walkDetails(recorded, "recorded") +
      "</div>\n</aside>\n</main>\n<script>" + kScript +
      "</script>\n</body>\n</html>\n";
  return html;
}

}  // namespace report
