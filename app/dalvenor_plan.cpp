// dalvenor plan and dalvenor compare: a whole wave planned with a chosen
// configuration, its plan printed or compared with the walks the pickers
// recorded. The defaults are the best settings: ShortestWalk grouping and
// ShortestRoute routes (--group AVGDistances --route GreedyAlgorithm gives
// the batch planner's plan).

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/dalvenor_cli.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/output_file.h"
#include "wave/stats.h"

namespace dalvenor_cli {

namespace {

template <typename Enum>
struct Choice {
  const char* name;
  Enum value;
  const char* help = nullptr;  // what the setting does, in one line
};

const Choice<BPAlgorithms> kPackers[] = {
    {"BaseLineFFD", BaseLineFFD,
     "whole order lines into boxes of the first type, by volume, largest "
     "first"},
    {"FFD_OneBoxType", FFD_OneBoxType,
     "units and packages into boxes of the first type, by volume, largest "
     "first"},
    {"FFDS_MultipleBoxTypes", FFDS_MultipleBoxTypes,
     "units and packages by volume, each new box of the smallest type that "
     "fits"},
    {"BP3D_OneBox", BP3D_OneBox,
     "three-dimensional packing into boxes of the first type"},
    {"BP3D_FFDS_MultiBoxTypes", BP3D_FFDS_MultiBoxTypes,
     "three-dimensional packing, each new box of the smallest type that "
     "fits"},
    {"BP3D_MultipleBoxTypes_CountDefined", BP3D_MultipleBoxTypes_CountDefined,
     "three-dimensional packing over all box types within their counts"},
};
const Choice<GroupingCustomersAlgorithms> kGroupings[] = {
    {"AVGDistances", AVGDistances,
     "each cart starts with the largest customer left and takes those whose "
     "picks lie closest on average"},
    {"LeastSquareMethod", LeastSquareMethod,
     "as AVGDistances, preferring customers whose picks line up with the "
     "first customer's"},
    {"KMeansClustering", KMeansClustering,
     "customers clustered by the mean place of their picks, carts filled "
     "cluster by cluster"},
    {"ChooseBest", ChooseBest,
     "tries the three groupings and keeps the one with the shortest whole "
     "walk"},
    {"ShortestWalk", ShortestWalk,
     "ChooseBest's carts, then whole customers swapped and moved between "
     "carts while the walks get shorter"},
};
const Choice<ShortestPathAlgorithms> kRoutes[] = {
    {"NearestNeighbour", NearestNeighbour,
     "always walks on to the nearest pick left"},
    {"BruteForceOrNearestNeighbour", BruteForceOrNearestNeighbour,
     "the shortest of all orders for carts of up to 9 lines, else "
     "NearestNeighbour"},
    {"GreedyAlgorithm", GreedyAlgorithm,
     "joins the shortest legs first into one walk from start to end"},
    {"BruteForceOrGreedy", BruteForceOrGreedy,
     "the shortest of all orders for carts of up to 9 lines, else "
     "GreedyAlgorithm"},
    {"JustMeasureDistance", JustMeasureDistance,
     "keeps the order the lines were loaded in and only measures it"},
    {"ShortestRoute", ShortestRoute,
     "the shortest walk: exact up to 15 places, a seeded local search above"},
};

// One line per setting: flag, number, name and what it does.
template <typename Enum, std::size_t N>
std::string describeChoices(const char* flag,
                            const Choice<Enum> (&choices)[N]) {
  std::string text;
  for (const Choice<Enum>& choice : choices) {
    text += std::string("  ") + flag + " " +
            std::to_string(static_cast<int>(choice.value)) + " " + choice.name +
            (choice.help ? std::string(": ") + choice.help : "") + "\n";
  }
  return text;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// An algorithm given by its number or its name (any letter case).
template <typename Enum, std::size_t N>
Enum parseChoice(const std::string& text,
                 const Choice<Enum> (&choices)[N],
                 const char* flag) {
  std::string known;
  for (const Choice<Enum>& choice : choices) {
    if (equalsIgnoringCase(text, choice.name) ||
        text == std::to_string(static_cast<int>(choice.value))) {
      return choice.value;
    }
    known += (known.empty() ? "" : ", ") + std::to_string(choice.value) + " " +
             choice.name;
  }
  throw std::invalid_argument(std::string("Invalid ") + flag + " \"" + text +
                              "\": expected one of " + known);
}

std::vector<std::string> splitCommas(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream in(text);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  if (!text.empty() && text.back() == ',') fields.emplace_back();
  return fields;
}

// A positive, finite number written out in full.
float parsePositive(const std::string& field, const std::string& what) {
  std::size_t used = 0;
  float value = 0;
  try {
    value = std::stof(field, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != field.size() || !std::isfinite(value) ||
      value <= 0) {
    throw std::invalid_argument(what + ": \"" + field +
                                "\" is not a positive number");
  }
  return value;
}

// --box W,H,D,MAXWEIGHT[,NAME[,FILL]], 1000 boxes of the type.
Box parseBox(const std::string& text, std::size_t index) {
  const std::string what = "Invalid --box \"" + text + "\"";
  std::vector<std::string> fields = splitCommas(text);
  if (fields.size() < 4 || fields.size() > 6) {
    throw std::invalid_argument(what +
                                ": expected W,H,D,MAXWEIGHT[,NAME[,FILL]]");
  }
  std::string name = fields.size() >= 5 && !fields[4].empty()
                         ? fields[4]
                         : "box" + std::to_string(index + 1);
  float fill = fields.size() == 6 ? parsePositive(fields[5], what) : 1.0f;
  if (fill > 1.0f) {
    throw std::invalid_argument(what + ": the fill factor must be at most 1");
  }
  return Box(parsePositive(fields[0], what), parsePositive(fields[1], what),
             parsePositive(fields[2], what), parsePositive(fields[3], what),
             name, fill);
}

// --cart W,H,D,SHELVES.
CartConfiguration parseCart(const std::string& text) {
  const std::string what = "Invalid --cart \"" + text + "\"";
  std::vector<std::string> fields = splitCommas(text);
  if (fields.size() != 4) {
    throw std::invalid_argument(what + ": expected W,H,D,SHELVES");
  }
  float shelves = parsePositive(fields[3], what);
  if (shelves != std::floor(shelves) || shelves > 1000) {
    throw std::invalid_argument(what + ": SHELVES must be a whole number");
  }
  return CartConfiguration(
      parsePositive(fields[0], what), parsePositive(fields[1], what),
      parsePositive(fields[2], what), 1.0f, static_cast<int>(shelves));
}

}  // namespace

PlanningSetup setupFromArgs(const CliArgs& args) {
  PlanningSetup setup{
      SolverConfiguration(parseChoice(args.pack, kPackers, "--pack"),
                          parseChoice(args.group, kGroupings, "--group"),
                          parseChoice(args.route, kRoutes, "--route")),
      BoxConfiguration(), parseCart(args.cart)};
  setup.solver.effort = args.effort;
  if (args.boxes.empty()) {
    setup.boxes.addBox(masterBox(), 1000);
  }
  std::set<std::string> names;
  for (std::size_t i = 0; i < args.boxes.size(); ++i) {
    Box box = parseBox(args.boxes[i], i);
    // The packers tell box types apart by name.
    if (!names.insert(box.name).second) {
      throw std::invalid_argument("Invalid --box \"" + args.boxes[i] +
                                  "\": the name \"" + box.name +
                                  "\" is given twice");
    }
    setup.boxes.addBox(std::move(box), 1000);
  }
  return setup;
}

void planWave(const CliArgs& args, PlanningSetup& setup, CartsLoader& loader) {
  is_debug_on = !args.quiet;
  loader.loadItemsAndSpec(args.wave);
  // The loader wrote its fixed error line; the reason follows it, exit 1.
  if (!loader.lastLoadSucceeded()) {
    throw std::runtime_error(loader.lastLoadError());
  }
  if (showsProgress(args)) loader.setProgress(terminalProgressLine());
  loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
}

void planRows(const nlohmann::json& rows,
              const std::string& source,
              PlanningSetup& setup,
              CartsLoader& loader) {
  loader.loadItemsFromRows(rows, source);
  if (!loader.lastLoadSucceeded()) {
    throw std::invalid_argument(loader.lastLoadError());
  }
  loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
}

namespace {

void runPlan(const CliArgs& args, std::ostream& out) {
  PlanningSetup setup = setupFromArgs(args);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  planWave(args, setup, loader);
  std::string plan = loader.exportCartsToJson(true, true) + "\n";
  if (args.out.empty()) {
    out << plan;
  } else if (auto failure = writeFileWholeFailure(args.out, plan)) {
    throw std::runtime_error("cannot write " + args.out + ": " + *failure);
  }
  if (args.stats == "raw") {
    std::cerr << loader.getStats();
  } else if (!args.stats.empty()) {
    std::cerr << stats::cartTable(loader.getLoadedCartsList());
  }
}

void printRow(std::ostream& out, const char* label, int carts, long total) {
  long average = carts == 0 ? 0 : total / carts;
  out << std::left << std::setw(10) << label << std::right << std::setw(8)
      << carts << std::setw(14) << total << std::setw(14) << average << '\n';
}

// How much shorter the plan walks than a reference, in per cent.
void printSaving(std::ostream& out,
                 const char* label,
                 long reference,
                 long planned) {
  out << std::left << std::setw(10) << label;
  if (auto saving = stats::savingPercent(reference, planned)) {
    out << std::right << std::fixed << std::setprecision(1) << std::setw(8)
        << *saving << " %\n";
  } else {
    out << std::right << std::setw(8) << "n/a" << '\n';
  }
}

void runCompare(const CliArgs& args, std::ostream& out) {
  PlanningSetup setup = setupFromArgs(args);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  planWave(args, setup, loader);
  // The loader also took the wave as JSON text; the recorded walks are read
  // from a file only, and the library's refusal would name no reason.
  std::error_code ignored;
  if (!std::filesystem::exists(args.wave, ignored)) {
    throw std::runtime_error(
        "compare reads the recorded walks from a wave file, not from JSON "
        "text");
  }
  WalkTotals recorded = loader.measureUsedData(args.wave);
  std::list<Cart> carts = loader.getLoadedCartsList();
  const long planned = stats::plannedDistance(carts);

  out << std::left << std::setw(10) << "" << std::right << std::setw(8)
      << "carts" << std::setw(14) << "total [dm]" << std::setw(14)
      << "average [dm]" << '\n';
  printRow(out, "planned", static_cast<int>(carts.size()), planned);
  printRow(out, "recorded", recorded.carts, recorded.totalDistance);
  printSaving(out, "saving", recorded.totalDistance, planned);

  // The same wave planned as wave_batch plans it.
  PlanningSetup batchSetup = batchConfiguration();
  CartsLoader batch(warehouse);
  const bool debug = is_debug_on;
  is_debug_on = false;
  batch.loadItemsAndSpec(args.wave);
  batch.loadingCartsRun(batchSetup.solver, batchSetup.cartConfig,
                        batchSetup.boxes);
  is_debug_on = debug;
  std::list<Cart> batchCarts = batch.getLoadedCartsList();
  const long batchTotal = stats::plannedDistance(batchCarts);
  printRow(out, "wave_batch", static_cast<int>(batchCarts.size()), batchTotal);
  printSaving(out, "vs batch", batchTotal, planned);
}

}  // namespace

// Said under plan's and compare's options.
constexpr const char* kDefaultsNote =
    "The defaults are the best settings; --route GreedyAlgorithm --group\n"
    "AVGDistances gives wave_batch's plan.\n";

void addPlanningOptions(CLI::App* command, CliArgs& args) {
  command->add_option("WAVE", args.wave, "Wave file (JSON)")->required();
  command
      ->add_option(
          "--pack", args.pack,
          "Packing algorithm, number or name: BaseLineFFD, "
          "FFD_OneBoxType, FFDS_MultipleBoxTypes, BP3D_OneBox, "
          "BP3D_FFDS_MultiBoxTypes, BP3D_MultipleBoxTypes_CountDefined")
      ->capture_default_str();
  command
      ->add_option("--group", args.group,
                   "Grouping, number or name: AVGDistances, LeastSquareMethod, "
                   "KMeansClustering, ChooseBest, ShortestWalk")
      ->capture_default_str();
  command
      ->add_option("--effort", args.effort,
                   "ShortestWalk's search budget: each unit lets it estimate "
                   "480,000 changes, in at most 60 rounds of iterated local "
                   "search per cart or 300 rounds (0: local search only)")
      ->capture_default_str()
      ->check(CLI::Range(0, kMaxEffort));
  command
      ->add_option("--route", args.route,
                   "Route algorithm, number or name: NearestNeighbour, "
                   "BruteForceOrNearestNeighbour, GreedyAlgorithm, "
                   "BruteForceOrGreedy, JustMeasureDistance, ShortestRoute")
      ->capture_default_str();
  command->add_option("--box", args.boxes,
                      "Box type W,H,D,MAXWEIGHT[,NAME[,FILL]], repeatable "
                      "(default 28,29,45,4000,masterBox; 1000 of each)");
  command
      ->add_option("--cart", args.cart,
                   "Cart W,H,D,SHELVES (shelves of equal height)")
      ->capture_default_str();
  command->add_flag("--quiet", args.quiet, "No progress lines");
}

std::string settingsHelp() {
  return "Settings, each given by number or name (any letter case):\n" +
         describeChoices("--pack", kPackers) +
         describeChoices("--group", kGroupings) +
         describeChoices("--route", kRoutes);
}

Subcommand addPlanCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command =
      app.add_subcommand("plan", "Plan a wave and print the plan as JSON");
  addPlanningOptions(command, args);
  command->add_option("--out", args.out, "Write the plan to this file");
  command
      ->add_option("--stats", args.stats,
                   "Write the per-cart table to standard error: aligned for "
                   "people (table, the default), or the library's "
                   "tab-separated table (raw)")
      ->expected(0, 1)
      ->default_str("table")
      ->check(CLI::IsMember({"table", "raw"}));
  command->footer(
      std::string(kDefaultsNote) +
      "Progress lines go to standard error. A wave that cannot be loaded\n"
      "writes the loader's error line, then the reason, and exits with\n"
      "status 1.\n\n" +
      settingsHelp());
  return {command, runPlan};
}

Subcommand addCompareCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "compare", "Plan a wave and compare it with the recorded walks");
  addPlanningOptions(command, args);
  command->footer(
      std::string(kDefaultsNote) +
      "The wave's rows must carry \"Cart\" and \"AddressRank\": the walks\n"
      "the pickers recorded, measured with the same distance model.\n\n" +
      settingsHelp());
  return {command, runCompare};
}

}  // namespace dalvenor_cli
