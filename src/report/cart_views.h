#pragma once

// The parts of the report page that show walks: the paths and stops on the
// floor plan, the cart lists and each cart's pick list. Internal to the
// report.

#include <list>
#include <string>
#include <vector>

#include "model/cart.h"
#include "report/walks.h"
#include "wave/recorded_walks.h"

namespace report {

// One walk the page shows: a planned cart or a recorded one. Its key names
// it in the page ("cart-3", "rec-17") and in the address's fragment.
struct WalkView {
  std::string key;
  std::string number;  // the cart's number in the plan or the recording
  std::string title;
  std::vector<CartOItem> lines;  // in walking order
  DrawnWalk walk;
  const Cart* cart = nullptr;  // the planned cart; none for recorded walks
};

std::vector<WalkView> plannedViews(const std::list<Cart>& carts);
std::vector<WalkView> recordedViews(const std::vector<RecordedWalk>& walks);

// SVG: every walk as one path (group class "planned" or "recorded"), then
// every walk's numbered stops, shown while it is selected.
std::string walkPaths(const std::vector<WalkView>& views, const char* group);
std::string stopGroups(const std::vector<WalkView>& views, const char* group);

// HTML: the list of walks with their figures, and one hidden section per
// walk with its pick list in walking order (and a planned cart's shelves).
std::string walkList(const std::vector<WalkView>& views, const char* group);
std::string walkDetails(const std::vector<WalkView>& views, const char* group);

}  // namespace report
