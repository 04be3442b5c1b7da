// The written report read back: one walk per cart, stops at the points
// locate gives, legs along the walks the oracle measures, every plan line in
// its cart's pick list.

#include "report/report.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/waddress.h"
#include "support/planning.h"
#include "support/walks.h"
#include "wave/carts_loader.h"
#include "wave/recorded_walks.h"

namespace {

const std::string kWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1422014.json";

report::ReportInput plannedWave(const std::string& wave) {
  const CartsLoader loader = testing_support::batchPlannedLoader(wave);
  report::ReportInput input;
  input.wave = wave;
  input.carts = loader.getLoadedCartsList();
  input.recorded = readRecordedWalks(wave);
  return input;
}

// The text between the first `open` at or after `from` and the next `close`.
std::string between(const std::string& text,
                    const std::string& open,
                    const std::string& close) {
  std::size_t start = text.find(open);
  if (start == std::string::npos) return "";
  start += open.size();
  return text.substr(start, text.find(close, start) - start);
}

std::vector<std::string> split(const std::string& text,
                               const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;
       start = at + separator.size()) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A pick-list row: stop number (empty for a further line of the same
// stop), address, customer, product, quantity or rank.
using Row = std::vector<std::string>;

std::vector<Row> pickList(const std::string& page, const std::string& key) {
  const std::string section =
      between(page, "id=\"detail-" + key + "\"", "</section>");
  std::vector<Row> rows;
  for (const std::string& row : split(section, "\n<tr>")) {
    std::vector<std::string> cells = split(row, "<td>");
    if (cells.size() < 6) continue;  // the part before the first row
    for (std::string& cell : cells) cell = cell.substr(0, cell.find('<'));
    rows.push_back(Row(cells.begin() + 1, cells.begin() + 6));
  }
  return rows;
}

// The legs of a walk's path: one subpath each, as corner lists.
std::vector<std::vector<PlanPoint>> legsOf(const std::string& page,
                                           const std::string& key) {
  std::vector<std::vector<PlanPoint>> legs;
  const std::string d =
      between(between(page, "id=\"walk-" + key + "\"", ">"), "d=\"", "\"");
  for (const std::string& leg : split(d, "M")) {
    if (leg.empty()) continue;
    std::vector<int> numbers;
    for (const std::string& part : split(leg, "L")) {
      std::istringstream in(part);
      for (int n; in >> n;) numbers.push_back(n);
    }
    std::vector<PlanPoint> corners;
    for (std::size_t i = 0; i + 1 < numbers.size(); i += 2) {
      corners.push_back({numbers[i], numbers[i + 1]});
    }
    legs.push_back(corners);
  }
  return legs;
}

std::vector<PlanPoint> stopCircles(const std::string& page,
                                   const std::string& key) {
  const std::string group = between(page, "id=\"stops-" + key + "\">", "</g>");
  std::vector<PlanPoint> circles;
  const std::regex circle("<circle cx=\"(-?\\d+)\" cy=\"(-?\\d+)\"");
  for (std::sregex_iterator it(group.begin(), group.end(), circle), end;
       it != end; ++it) {
    circles.push_back({std::stoi((*it)[1]), std::stoi((*it)[2])});
  }
  return circles;
}

int countOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// Checks one walk of the page against its pick list and the oracle; returns
// the sum of its legs' distances.
long long checkWalk(const std::string& page, const std::string& key) {
  SCOPED_TRACE(key);
  EXPECT_EQ(countOf(page, "id=\"walk-" + key + "\""), 1);
  const std::vector<Row> rows = pickList(page, key);
  const std::vector<PlanPoint> circles = stopCircles(page, key);
  const std::vector<std::vector<PlanPoint>> legs = legsOf(page, key);
  EXPECT_FALSE(rows.empty());

  // Legs from the route start through the stops to the route end; a stop
  // is drawn where locate puts each of its lines.
  SECTOR_ADDR_T here = routeStart();
  std::vector<SECTOR_ADDR_T> legEnds;  // from, to of every drawn leg
  std::size_t stop = 0;
  long long length = 0;
  for (const Row& row : rows) {
    const SECTOR_ADDR_T at = WAddress(row[1]).point();
    if (!row[0].empty()) {
      EXPECT_EQ(row[0], std::to_string(++stop));
      if (stop > circles.size()) break;
      EXPECT_EQ(circles[stop - 1], (PlanPoint{at.x, at.y})) << row[1];
      legEnds.push_back(here);
      legEnds.push_back(at);
    } else {
      EXPECT_EQ(circles[stop - 1], (PlanPoint{at.x, at.y})) << row[1];
    }
    length += Warehouse::distance(here, at);
    here = at;
  }
  EXPECT_EQ(stop, circles.size());
  legEnds.push_back(here);
  legEnds.push_back(routeEnd());
  length += Warehouse::distance(here, routeEnd());

  // Each leg starts and ends at its stops and measures what the oracle does.
  std::size_t drawn = 0;
  for (std::size_t i = 0; i < legEnds.size(); i += 2) {
    const SECTOR_ADDR_T& from = legEnds[i];
    const SECTOR_ADDR_T& to = legEnds[i + 1];
    if (from.x == to.x && from.y == to.y) continue;  // nothing to draw
    if (drawn >= legs.size()) break;
    const std::vector<PlanPoint>& corners = legs[drawn++];
    EXPECT_EQ(corners.front(), (PlanPoint{from.x, from.y}));
    EXPECT_EQ(corners.back(), (PlanPoint{to.x, to.y}));
    EXPECT_TRUE(testing_support::drawnLengthMatches(from, to, corners))
        << "(" << from.x << ", " << from.y << ") to (" << to.x << ", " << to.y
        << "): drawn " << testing_support::drawnLength(corners) << ", distance "
        << Warehouse::distance(from, to);
  }
  EXPECT_EQ(drawn, legs.size());
  return length;
}

TEST(ReportTest, EveryWalkFollowsItsPickListAndTheOracle) {
  const report::ReportInput input = plannedWave(kWave);
  const std::string page = report::renderReport(input);
  ASSERT_FALSE(input.carts.empty());

  int number = 0;
  for (const Cart& cart : input.carts) {
    const std::string key = "cart-" + std::to_string(++number);
    EXPECT_EQ(checkWalk(page, key), cart.getEstimatedWalkedDistance());
    // Every line of the plan, in walking order, in the cart's pick list.
    const std::vector<Row> rows = pickList(page, key);
    ASSERT_EQ(rows.size(), cart.cartOItems.size()) << key;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const CartOItem& line = cart.cartOItems[i];
      EXPECT_EQ(rows[i], (Row{rows[i][0], line.oItem.addressCode,
                              std::to_string(line.oItem.customerID),
                              std::to_string(line.oItem.productID),
                              std::to_string(line.realQty)}));
    }
  }
  EXPECT_EQ(countOf(page, "id=\"walk-cart-"), number);

  ASSERT_TRUE(input.recorded.has_value());
  for (const RecordedWalk& walk : *input.recorded) {
    const std::string key = "rec-" + std::to_string(walk.cart);
    checkWalk(page, key);
    EXPECT_EQ(pickList(page, key).size(), walk.lines.size()) << key;
  }
  EXPECT_EQ(countOf(page, "id=\"walk-rec-"),
            static_cast<int>(input.recorded->size()));
}

TEST(ReportTest, SummaryGivesTheWholeWalksInMetresAndDecimetres) {
  report::ReportInput input = plannedWave(kWave);
  long long planned = 0;
  for (const Cart& cart : input.carts) {
    planned += cart.getEstimatedWalkedDistance();
  }
  const std::string page = report::renderReport(input);
  const std::string dm = std::to_string(planned);
  EXPECT_NE(page.find(dm.substr(0, dm.size() - 1) + "." + dm.back() +
                      " m<br>(" + dm + " dm)"),
            std::string::npos);
  EXPECT_NE(page.find("<th>Saving"), std::string::npos);
  EXPECT_NE(page.find("name=\"view\" value=\"recorded\""), std::string::npos);

  // Without recorded walks the page says why and offers no switch.
  input.recorded.reset();
  input.recordedNote = "No recorded walks here.";
  const std::string planOnly = report::renderReport(input);
  EXPECT_NE(planOnly.find("No recorded walks here."), std::string::npos);
  EXPECT_EQ(planOnly.find("<input type=\"radio\""), std::string::npos);
  EXPECT_EQ(planOnly.find("<th>Saving"), std::string::npos);
}

TEST(ReportTest, TextsFromTheWaveAreEscaped) {
  report::ReportInput input;
  input.wave = "<script>alert('x')</script>&.json";
  input.settings = {{"Packing", "\"quoted\""}};
  Cart cart;
  cart.cartOItems.emplace_back(OItem(1, 2, "G00050201<b>", 1));
  input.carts.push_back(cart);
  const std::string page = report::renderReport(input);
  EXPECT_EQ(page.find("<script>alert"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;"),
            std::string::npos);
  EXPECT_NE(page.find("&quot;quoted&quot;"), std::string::npos);
  EXPECT_NE(page.find("G00050201&lt;b&gt;"), std::string::npos);
}

}  // namespace
