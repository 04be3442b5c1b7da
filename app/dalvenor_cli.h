#pragma once

// Shared pieces of the dalvenor tool: the parsed command line and the
// registration functions of the subcommands (one source file each family).

#include <CLI/CLI.hpp>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/waddress.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"
#include "report/report.h"
#include "wave/carts_loader.h"
#include "wave/planning_setup.h"

namespace dalvenor_cli {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kMaxEffort = 1000;  // the largest --effort

// Everything the command line sets, one block per subcommand.
struct CliArgs {
  // locate
  std::vector<std::string> locateAddresses;  // locate ADDRESS...
  // distance
  std::string distanceFrom;  // distance ADDRESS_A
  std::string distanceTo;    // distance ADDRESS_B
  // route
  std::string routeSolver = "greedy";       // route --solver
  std::vector<std::string> routeAddresses;  // route ADDRESS...
  // plan and compare
  std::string wave;                                  // plan/compare WAVE
  std::string pack = "FFD_OneBoxType";               // --pack
  std::string group = "ShortestWalk";                // --group
  int effort = SolverConfiguration::kDefaultEffort;  // --effort, 0..kMaxEffort
  std::string route = "ShortestRoute";               // --route
  std::vector<std::string> boxes;                    // --box, repeatable
  std::string cart = "90,200,50,3";                  // --cart
  std::string out;                                   // plan/report --out
  std::string stats;                                 // plan --stats [table|raw]
  bool quiet = false;                                // --quiet
  // serve
  std::string serveHost = "127.0.0.1";  // --host
  int servePort = 8080;                 // --port
  int serveThreads = 4;                 // --threads
  int serveQueue = 64;                  // --queue
  int serveMaxBodyMb = 64;              // --max-body-mb
};

using Runner = std::function<void(const CliArgs&, std::ostream&)>;

// A registered subcommand and what runs it.
struct Subcommand {
  CLI::App* command;
  Runner run;
};

// Checks an address argument. Throws std::invalid_argument naming the text
// and the reason when it has not the form of an address (unknown sector,
// length, no digits where the row, level and cell stand); gives the warning
// (without "WARNING: ") for an address beyond the floor plan's racks.
std::optional<std::string> checkAddressArg(const std::string& text);
// Parses an address argument as checkAddressArg checks it; writes one
// "WARNING: " line per distinct address beyond the floor plan's racks.
WAddress parseAddressArg(const std::string& text);

// The options plan, compare and report share: WAVE and the settings.
void addPlanningOptions(CLI::App* command, CliArgs& args);
// What each packing, grouping and route setting does, one line each.
std::string settingsHelp();
// The configuration the options name; std::invalid_argument for a bad one.
PlanningSetup setupFromArgs(const CliArgs& args);
// Loads and plans the wave; progress lines unless --quiet. A wave the
// loader refuses throws AlreadyReported.
void planWave(const CliArgs& args, PlanningSetup& setup, CartsLoader& loader);
// Loads and plans rows already parsed, named `source` in messages; never
// reads a file and writes no progress lines of its own. A wave the loader
// refuses throws std::invalid_argument with the loader's reason.
void planRows(const nlohmann::json& rows,
              const std::string& source,
              PlanningSetup& setup,
              CartsLoader& loader);

// A route through addresses as the route subcommand plans it.
struct RouteAnswer {
  int length = 0;                     // decimetres
  std::vector<std::string> order;     // addresses in visiting order
  bool optimal = false;               // proven the shortest
  std::vector<std::string> warnings;  // addresses beyond the racks
};
// Plans the route with a --solver name (any letter case). Throws
// std::invalid_argument for a bad address, solver or address count.
RouteAnswer planRoute(const std::vector<std::string>& addresses,
                      const std::string& solver);

// What the report page shows of a planned wave, from its parsed rows, named
// `source` (the wave file, or what stands for it).
report::ReportInput reportInput(const CliArgs& args,
                                const CartsLoader& loader,
                                const nlohmann::json& rows,
                                const std::string& source);

// "STEP: DONE of TOTAL customers" ("carts" for the routing step).
std::string progressText(const std::string& step,
                         std::size_t done,
                         std::size_t total);
// The in-place progress line on standard error.
PlanningProgress terminalProgressLine();
// True unless --quiet or standard error is not a terminal.
bool showsProgress(const CliArgs& args);

Subcommand addLocateCommand(CLI::App& app, CliArgs& args);
Subcommand addDistanceCommand(CLI::App& app, CliArgs& args);
Subcommand addRouteCommand(CLI::App& app, CliArgs& args);
Subcommand addPlanCommand(CLI::App& app, CliArgs& args);
Subcommand addCompareCommand(CLI::App& app, CliArgs& args);
Subcommand addReportCommand(CLI::App& app, CliArgs& args);
Subcommand addServeCommand(CLI::App& app, CliArgs& args);

}  // namespace dalvenor_cli
