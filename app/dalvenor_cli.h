#pragma once

// Shared pieces of the dalvenor tool: the parsed command line and the
// registration functions of the subcommands (one source file each family).

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/waddress.h"

namespace dalvenor_cli {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

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
  std::string wave;                       // plan/compare WAVE
  std::string pack = "FFD_OneBoxType";    // --pack
  std::string group = "AVGDistances";     // --group
  std::string route = "ShortestRoute";    // --route
  std::vector<std::string> boxes;         // --box, repeatable
  std::string cart = "90,200,50,3";       // --cart
  std::string out;                        // plan --out
  bool stats = false;                     // plan --stats
  bool quiet = false;                     // --quiet
};

using Runner = std::function<void(const CliArgs&, std::ostream&)>;

// A registered subcommand and what runs it.
struct Subcommand {
  CLI::App* command;
  Runner run;
};

// A failure the library has already reported on standard error (the wave
// loader's error line): the tool exits 1 without a second message.
struct AlreadyReported : std::runtime_error {
  AlreadyReported() : std::runtime_error("already reported") {}
};

// Parses an address argument. Throws std::invalid_argument naming the text
// when the first character is none of G, V, P (such a text resolves to the
// all-zero point, which the oracle would silently measure as 0 from
// everywhere) and when the library's parsing throws.
WAddress parseAddressArg(const std::string& text);

Subcommand addLocateCommand(CLI::App& app, CliArgs& args);
Subcommand addDistanceCommand(CLI::App& app, CliArgs& args);
Subcommand addRouteCommand(CLI::App& app, CliArgs& args);
Subcommand addPlanCommand(CLI::App& app, CliArgs& args);
Subcommand addCompareCommand(CLI::App& app, CliArgs& args);

}  // namespace dalvenor_cli
