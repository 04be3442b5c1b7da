// dalvenor plan and dalvenor compare: a whole wave planned with a chosen
// configuration, its plan printed or compared with the walks the pickers
// recorded. The defaults are the best settings: the batch planner's, but
// with ShortestRoute routes (--route GreedyAlgorithm gives its plan).

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/dalvenor_cli.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/helper.h"

namespace dalvenor_cli {

namespace {

template <typename Enum>
struct Choice {
  const char* name;
  Enum value;
};

const Choice<BPAlgorithms> kPackers[] = {
    {"BaseLineFFD", BaseLineFFD},
    {"FFD_OneBoxType", FFD_OneBoxType},
    {"FFDS_MultipleBoxTypes", FFDS_MultipleBoxTypes},
    {"BP3D_OneBox", BP3D_OneBox},
    {"BP3D_FFDS_MultiBoxTypes", BP3D_FFDS_MultiBoxTypes},
    {"BP3D_MultipleBoxTypes_CountDefined", BP3D_MultipleBoxTypes_CountDefined},
};
const Choice<GroupingCustomersAlgorithms> kGroupings[] = {
    {"AVGDistances", AVGDistances},
    {"LeastSquareMethod", LeastSquareMethod},
    {"KMeansClustering", KMeansClustering},
    {"ChooseBest", ChooseBest},
};
const Choice<ShortestPathAlgorithms> kRoutes[] = {
    {"NearestNeighbour", NearestNeighbour},
    {"BruteForceOrNearestNeighbour", BruteForceOrNearestNeighbour},
    {"GreedyAlgorithm", GreedyAlgorithm},
    {"BruteForceOrGreedy", BruteForceOrGreedy},
    {"JustMeasureDistance", JustMeasureDistance},
    {"ShortestRoute", ShortestRoute},
};

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
Enum parseChoice(const std::string& text, const Choice<Enum> (&choices)[N],
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
  return CartConfiguration(parsePositive(fields[0], what),
                           parsePositive(fields[1], what),
                           parsePositive(fields[2], what), 1.0f,
                           static_cast<int>(shelves));
}

struct PlanningSetup {
  SolverConfiguration solver;
  BoxConfiguration boxes;
  CartConfiguration cartConfig;
};

PlanningSetup setupFromArgs(const CliArgs& args) {
  PlanningSetup setup{
      SolverConfiguration(parseChoice(args.pack, kPackers, "--pack"),
                          parseChoice(args.group, kGroupings, "--group"),
                          parseChoice(args.route, kRoutes, "--route")),
      BoxConfiguration(), parseCart(args.cart)};
  if (args.boxes.empty()) {
    setup.boxes.addBox(Box(28, 29, 45, 4000, "masterBox", 1.0f), 1000);
  }
  for (std::size_t i = 0; i < args.boxes.size(); ++i) {
    setup.boxes.addBox(parseBox(args.boxes[i], i), 1000);
  }
  return setup;
}

// Loads and plans the wave; progress lines unless --quiet.
void planWave(const CliArgs& args, PlanningSetup& setup, CartsLoader& loader) {
  is_debug_on = !args.quiet;
  loader.loadItemsAndSpec(args.wave);
  if (!loader.lastLoadSucceeded()) throw AlreadyReported();
  loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
}

void runPlan(const CliArgs& args, std::ostream& out) {
  PlanningSetup setup = setupFromArgs(args);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  planWave(args, setup, loader);
  std::string plan = loader.exportCartsToJson(true, true) + "\n";
  if (args.out.empty()) {
    out << plan;
  } else if (!writeFileWhole(args.out, plan)) {
    throw std::runtime_error("cannot write " + args.out);
  }
  if (args.stats) std::cerr << loader.getStats();
}

void printRow(std::ostream& out, const char* label, int carts, long total) {
  long average = carts == 0 ? 0 : total / carts;
  out << std::left << std::setw(10) << label << std::right << std::setw(8)
      << carts << std::setw(14) << total << std::setw(14) << average << '\n';
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
  WalkTotals recorded;
  try {
    recorded = loader.measureUsedData(args.wave);
  } catch (const nlohmann::json::out_of_range& e) {
    throw std::runtime_error(args.wave +
                             " holds no recorded picking: every row needs "
                             "\"Cart\" and \"AddressRank\" (" +
                             e.what() + ")");
  } catch (const nlohmann::json::exception& e) {
    throw std::runtime_error(args.wave + ": recorded picking unreadable (" +
                             e.what() + ")");
  }
  long planned = 0;
  std::list<Cart> carts = loader.getLoadedCartsList();
  for (const Cart& cart : carts) planned += cart.getEstimatedWalkedDistance();

  out << std::left << std::setw(10) << "" << std::right << std::setw(8)
      << "carts" << std::setw(14) << "total [dm]" << std::setw(14)
      << "average [dm]" << '\n';
  printRow(out, "planned", static_cast<int>(carts.size()), planned);
  printRow(out, "recorded", recorded.carts, recorded.totalDistance);
  out << std::left << std::setw(10) << "saving";
  if (recorded.totalDistance > 0) {
    double saving = 100.0 * (recorded.totalDistance - planned) /
                    recorded.totalDistance;
    out << std::right << std::fixed << std::setprecision(1) << std::setw(8)
        << saving << " %\n";
  } else {
    out << std::right << std::setw(8) << "n/a" << '\n';
  }
}

// Said under plan's and compare's options.
constexpr const char* kDefaultsNote =
    "The defaults are the best settings; --route GreedyAlgorithm --group\n"
    "AVGDistances gives wave_batch's plan.\n";

// The options plan and compare share.
void addPlanningOptions(CLI::App* command, CliArgs& args) {
  command->add_option("WAVE", args.wave, "Wave file (JSON)")->required();
  command
      ->add_option("--pack", args.pack,
                   "Packing algorithm, number or name: BaseLineFFD, "
                   "FFD_OneBoxType, FFDS_MultipleBoxTypes, BP3D_OneBox, "
                   "BP3D_FFDS_MultiBoxTypes, BP3D_MultipleBoxTypes_CountDefined")
      ->capture_default_str();
  command
      ->add_option("--group", args.group,
                   "Grouping, number or name: AVGDistances, LeastSquareMethod, "
                   "KMeansClustering, ChooseBest")
      ->capture_default_str();
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

}  // namespace

Subcommand addPlanCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command =
      app.add_subcommand("plan", "Plan a wave and print the plan as JSON");
  addPlanningOptions(command, args);
  command->add_option("--out", args.out, "Write the plan to this file");
  command->add_flag("--stats", args.stats,
                    "Write the per-cart statistics table to standard error");
  command->footer(
      std::string(kDefaultsNote) +
      "Progress lines go to standard error. A wave that cannot be loaded\n"
      "writes the loader's error line and exits with status 1.");
  return {command, runPlan};
}

Subcommand addCompareCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "compare", "Plan a wave and compare it with the recorded walks");
  addPlanningOptions(command, args);
  command->footer(
      std::string(kDefaultsNote) +
      "The wave's rows must carry \"Cart\" and \"AddressRank\": the walks\n"
      "the pickers recorded, measured with the same distance model.");
  return {command, runCompare};
}

}  // namespace dalvenor_cli
