// The endpoints of dalvenor serve: request bodies and query values read into
// the same settings the plan subcommand takes, planned on objects of the
// request's own, and answered as JSON (or the HTML report).

#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/dalvenor_cli.h"
#include "app/dalvenor_serve.h"
#include "geometry/warehouse.h"
#include "report/report.h"
#include "wave/carts_loader.h"
#include "wave/export.h"
#include "wave/json_fields.h"
#include "wave/stats.h"

namespace dalvenor_cli::serve {

namespace {

using nlohmann::json;
using wave_fields::shownValue;

// What the request's wave rows and messages are called.
constexpr const char* kSource = "request";

// The settings a request may give, each the text of one option of the plan
// subcommand, read and checked as that option is.
struct TextSetting {
  const char* key;
  std::string CliArgs::*field;
};
const TextSetting kTextSettings[] = {
    {"pack", &CliArgs::pack},
    {"group", &CliArgs::group},
    {"route", &CliArgs::route},
    {"cart", &CliArgs::cart},
};
// "boxes" is a list: one text per --box.
constexpr const char* kBoxesKey = "boxes";
// "effort" is a whole number, in the range --effort takes.
constexpr const char* kEffortKey = "effort";

std::string knownSettings() {
  std::string known;
  for (const TextSetting& setting : kTextSettings) {
    known += std::string(known.empty() ? "" : ", ") + setting.key;
  }
  return known + ", " + kBoxesKey + ", " + kEffortKey;
}

[[noreturn]] void refuse(const std::string& reason) {
  throw std::invalid_argument(std::string(kSource) + " " + reason);
}

// A setting's text: a string as given, a whole number in decimal (the
// settings take algorithm numbers too).
std::string settingText(const std::string& key, const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number_integer()) return value.dump();
  refuse("\"settings\" " + wave_fields::fieldText(key.c_str(), value) +
         ": expected a text or a whole number");
}

void readSettings(const json& settings, CliArgs& args) {
  if (!settings.is_object()) {
    refuse("\"settings\" " + shownValue(settings) + ": expected an object");
  }
  for (const auto& [key, value] : settings.items()) {
    bool known = false;
    for (const TextSetting& setting : kTextSettings) {
      if (key == setting.key) {
        args.*setting.field = settingText(key, value);
        known = true;
      }
    }
    if (known) continue;
    if (key == kEffortKey) {
      if (!value.is_number_integer() || value.get<long long>() < 0 ||
          value.get<long long>() > kMaxEffort) {
        refuse("\"settings\" " + wave_fields::fieldText(kEffortKey, value) +
               ": expected a whole number from 0 to " +
               std::to_string(kMaxEffort));
      }
      args.effort = value.get<int>();
      continue;
    }
    if (key != kBoxesKey) {
      refuse("\"settings\" key " + shownValue(key) +
             ": unknown setting, expected one of " + knownSettings());
    }
    if (!value.is_array()) {
      refuse("\"settings\" " + wave_fields::fieldText(kBoxesKey, value) +
             ": expected a list of W,H,D,MAXWEIGHT[,NAME[,FILL]] texts");
    }
    for (const json& box : value) args.boxes.push_back(settingText(key, box));
  }
}

// The planning the settings name; their refusal names the request.
PlanningSetup setupOf(const CliArgs& args) {
  try {
    return setupFromArgs(args);
  } catch (const std::invalid_argument& e) {
    refuse(std::string("\"settings\": ") + e.what());
  }
}

json parseBody(const std::string& body) {
  try {
    return json::parse(body, nullptr, true, false);
  } catch (const json::exception& e) {
    refuse("body: no valid JSON: " + wave_fields::jsonReason(e));
  }
}

// The members an object body may have; anything else is refused.
void onlyKeys(const json& document, std::initializer_list<const char*> keys) {
  std::string expected;
  for (const char* key : keys) {
    expected += std::string(expected.empty() ? "\"" : ", \"") + key + "\"";
  }
  for (const auto& [key, value] : document.items()) {
    bool known = false;
    for (const char* allowed : keys) known = known || key == allowed;
    if (!known) {
      refuse("key " + shownValue(key) + ": unknown, expected " + expected);
    }
  }
}

// A wave request: the rows and the settings.
struct WaveRequest {
  json rows;
  CliArgs args;
};

WaveRequest readWaveRequest(const std::string& body) {
  json document = parseBody(body);
  WaveRequest request;
  if (document.is_array()) {
    request.rows = std::move(document);
    return request;
  }
  if (!document.is_object() || !document.contains("wave")) {
    refuse("body " + shownValue(document) +
           ": expected a wave (an array of rows) or an object with \"wave\" "
           "and \"settings\"");
  }
  onlyKeys(document, {"wave", "settings"});
  if (!document["wave"].is_array()) {
    refuse(wave_fields::fieldText("wave", document["wave"]) +
           ": expected an array of rows");
  }
  request.rows = std::move(document["wave"]);
  if (document.contains("settings")) {
    readSettings(document["settings"], request.args);
  }
  return request;
}

// The plan, the per-cart summary and the totals: "plan" first, holding the
// exported text exactly as the plan subcommand prints it.
std::string planBody(const CartsLoader& loader, json extra) {
  json carts = json::array();
  json totals = {{"carts", 0},     {"orderLines", loader.getItems().size()},
                 {"customers", 0}, {"boxes", 0},
                 {"stops", 0},     {"distance", 0}};
  long long distance = 0;
  std::size_t customers = 0, boxes = 0, stops = 0;
  const std::list<Cart> planned = loader.getLoadedCartsList();
  for (const Cart& cart : planned) {
    const stats::CartFigures figures = stats::cartFigures(cart);
    const std::size_t cartBoxes = figures.boxes.full + figures.boxes.shared;
    carts.push_back({{"cart", carts.size() + 1},
                     {"customers", figures.customers},
                     {"boxes", cartBoxes},
                     {"stops", figures.stops},
                     {"distance", figures.distance}});
    customers += figures.customers;
    boxes += cartBoxes;
    stops += figures.stops;
    distance += figures.distance;
  }
  totals["carts"] = planned.size();
  totals["customers"] = customers;
  totals["boxes"] = boxes;
  totals["stops"] = stops;
  totals["distance"] = distance;
  extra["carts"] = std::move(carts);
  extra["totals"] = std::move(totals);
  const std::string rest = extra.dump();  // "{...}", never empty
  return "{\"plan\":" + exportCarts(planned, true, true) + "," + rest.substr(1);
}

// The request's rows planned with its settings on a loader of their own.
// beforePlanning, when given, sees the loader after the settings were read
// and before the rows are loaded.
CartsLoader plannedLoader(
    const WaveRequest& request,
    const std::function<void(CartsLoader&)>& beforePlanning = {}) {
  PlanningSetup setup = setupOf(request.args);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  if (beforePlanning) beforePlanning(loader);
  planRows(request.rows, kSource, setup, loader);
  return loader;
}

std::vector<std::string> stringList(const json& value, const char* key) {
  if (!value.is_array() || value.empty()) {
    refuse(wave_fields::fieldText(key, value) +
           ": expected a list of address texts");
  }
  std::vector<std::string> texts;
  for (const json& element : value) {
    if (!element.is_string()) {
      refuse(wave_fields::fieldText(key, element) + ": not a text");
    }
    texts.push_back(element.get<std::string>());
  }
  return texts;
}

json pointOf(const std::string& text) {
  const WAddress address(text);
  const SECTOR_ADDR_T& p = address.point();
  return {{"address", address.getRawSectorAddress()},
          {"sector", p.sector},
          {"x", p.x},
          {"y", p.y},
          {"xIndex", p.xIndex},
          {"yIndex", p.yIndex},
          {"level", p.level}};
}

// The one value of a query key; refused when missing or given twice.
const std::string& queryValue(const std::vector<std::string>& values,
                              const char* key) {
  if (values.size() != 1) {
    refuse("query \"" + std::string(key) +
           "\": " + (values.empty() ? "missing" : "given more than once"));
  }
  return values.front();
}

Answer jsonAnswer(const json& body) {
  return {200, "application/json",
          body.dump(-1, ' ', false, json::error_handler_t::replace)};
}

}  // namespace

Answer errorAnswer(int status, const std::string& reason) {
  const json body = {{"error", reason}, {"status", status}};
  return {status, "application/json",
          body.dump(-1, ' ', false, json::error_handler_t::replace)};
}

Answer planAnswer(const std::string& body) {
  const WaveRequest request = readWaveRequest(body);
  const CartsLoader loader = plannedLoader(request);
  return {200, "application/json", planBody(loader, json::object())};
}

Answer compareAnswer(const std::string& body) {
  const WaveRequest request = readWaveRequest(body);
  WalkTotals recorded;
  // The recorded walks first: a wave without them is refused unplanned.
  const CartsLoader loader = plannedLoader(request, [&](CartsLoader& l) {
    recorded = l.measureUsedRows(request.rows, kSource);
  });
  const long long planned = stats::plannedDistance(loader.getLoadedCartsList());
  json extra = {
      {"recorded",
       {{"carts", recorded.carts}, {"distance", recorded.totalDistance}}}};
  if (auto saving = stats::savingPercent(recorded.totalDistance, planned)) {
    // Percent of the recorded distance, one decimal as the tool shows it.
    extra["saving"] = std::round(*saving * 10.0) / 10.0;
  } else {
    extra["saving"] = nullptr;
  }
  return {200, "application/json", planBody(loader, std::move(extra))};
}

Answer reportAnswer(const std::string& body) {
  const WaveRequest request = readWaveRequest(body);
  const CartsLoader loader = plannedLoader(request);
  return {200, "text/html; charset=utf-8",
          report::renderReport(
              reportInput(request.args, loader, request.rows, kSource))};
}

Answer routeAnswer(const std::string& body) {
  const json document = parseBody(body);
  if (!document.is_object() || !document.contains("addresses")) {
    refuse("body " + shownValue(document) +
           ": expected an object with \"addresses\" and \"solver\"");
  }
  onlyKeys(document, {"addresses", "solver"});
  std::string solver = "greedy";
  if (document.contains("solver")) {
    if (!document["solver"].is_string()) {
      refuse(wave_fields::fieldText("solver", document["solver"]) +
             ": not a text");
    }
    solver = document["solver"].get<std::string>();
  }
  const RouteAnswer route =
      planRoute(stringList(document["addresses"], "addresses"), solver);
  return jsonAnswer({{"length", route.length},
                     {"order", route.order},
                     {"optimal", route.optimal},
                     {"warnings", route.warnings}});
}

Answer distanceAnswer(const std::vector<std::string>& from,
                      const std::vector<std::string>& to) {
  const std::string& a = queryValue(from, "from");
  const std::string& b = queryValue(to, "to");
  std::vector<std::string> warnings;
  for (const std::string* text : {&a, &b}) {
    if (auto warning = checkAddressArg(*text)) warnings.push_back(*warning);
  }
  Warehouse warehouse;
  const int distance =
      warehouse.getDistanceBetweenAddresses(WAddress(a), WAddress(b));
  return jsonAnswer(
      {{"from", a}, {"to", b}, {"distance", distance}, {"warnings", warnings}});
}

Answer locateAnswer(const std::vector<std::string>& addresses) {
  if (addresses.empty()) refuse("query \"address\": missing");
  json points = json::array();
  std::vector<std::string> warnings;
  for (const std::string& text : addresses) {
    if (auto warning = checkAddressArg(text)) warnings.push_back(*warning);
    points.push_back(pointOf(text));
  }
  return jsonAnswer({{"addresses", points}, {"warnings", warnings}});
}

}  // namespace dalvenor_cli::serve
