#pragma once

// The plan of a wave as one self-contained HTML page: a summary, the floor
// plan to scale with every cart's walk, the cart list, and per cart its pick
// list in walking order and its shelves. The page needs no network and no
// other file: inline SVG, CSS and a little plain JavaScript.

#include <list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/cart.h"
#include "wave/recorded_walks.h"

namespace report {

// Everything the page shows of one planned wave.
struct ReportInput {
  std::string wave;  // the wave as the user named it
  std::size_t rows = 0;
  std::size_t orderLines = 0;
  std::size_t customers = 0;
  // Each planning setting's name and value, as given.
  std::vector<std::pair<std::string, std::string>> settings;
  std::list<Cart> carts;  // planned and routed
  // The walks recorded in the wave, when it carries them.
  std::optional<std::vector<RecordedWalk>> recorded;
  // Why recorded walks are not shown, when the wave carries none.
  std::string recordedNote;
};

std::string renderReport(const ReportInput& input);

}  // namespace report
