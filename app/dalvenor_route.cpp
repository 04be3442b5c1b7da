// dalvenor route: a walking route from the route start through the given
// addresses (one pick line each, in the given order) to the route end.

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/dalvenor_cli.h"
#include "geometry/route_ends.h"
#include "routing/route_dispatch.h"
#include "routing/route_search.h"

namespace dalvenor_cli {

namespace {

// The solver names of --solver and the route settings they stand for.
struct SolverName {
  const char* name;
  ShortestPathAlgorithms setting;
};
const SolverName kSolvers[] = {
    {"measure", JustMeasureDistance},
    {"nearest", NearestNeighbour},
    {"brute", BruteForceOrNearestNeighbour},
    {"greedy", GreedyAlgorithm},
    {"shortest", ShortestRoute},
};

std::vector<std::string> solverNames() {
  std::vector<std::string> names;
  for (const SolverName& solver : kSolvers) names.emplace_back(solver.name);
  return names;
}

ShortestPathAlgorithms settingOf(const std::string& name) {
  for (const SolverName& solver : kSolvers) {
    if (name == solver.name) return solver.setting;
  }
  throw std::invalid_argument("unknown --solver \"" + name + "\"");
}

void runRoute(const CliArgs& args, std::ostream& out) {
  std::vector<CartOItem> lines;
  for (std::size_t i = 0; i < args.routeAddresses.size(); ++i) {
    const std::string& text = args.routeAddresses[i];
    parseAddressArg(text);
    lines.emplace_back(OItem(0, static_cast<int>(i) + 1, text, 1));
  }
  const ShortestPathAlgorithms setting = settingOf(args.routeSolver);
  const std::size_t limit = tsp_solver::kBruteForceLineLimit;
  if (setting == BruteForceOrNearestNeighbour && lines.size() > limit) {
    throw std::invalid_argument("--solver brute plans at most " +
                                std::to_string(limit) + " addresses, got " +
                                std::to_string(lines.size()) +
                                " (use nearest, greedy or shortest)");
  }
  Warehouse warehouse;
  std::vector<CartOItem> order;
  bool optimal = false;
  const int length = tsp_solver::routeBySetting(
      setting, lines, warehouse, &order, routeStart(), routeEnd(), &optimal);
  out << length << '\n';
  for (const CartOItem& line : order) out << line.oItem.addressCode << '\n';
  if (setting == ShortestRoute) {
    std::cerr << (optimal ? "proven optimal: solved exactly\n"
                          : "not proven optimal: more than " +
                                std::to_string(route_search::kExactStopLimit) +
                                " locations, found by local search\n");
  }
}

}  // namespace

Subcommand addRouteCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "route", "Plan a walking route through addresses, start to end");
  command
      ->add_option("--solver", args.routeSolver,
                   "measure (the given order), nearest, brute (at most " +
                       std::to_string(tsp_solver::kBruteForceLineLimit) +
                       " addresses), greedy or shortest; any letter case")
      ->transform(CLI::IsMember(solverNames(), CLI::ignore_case))
      ->capture_default_str();
  command->add_option("ADDRESS", args.routeAddresses, "Address text")
      ->required();
  command->footer(
      "The route starts at VAA x 300, y 0 and ends at VAA x 620, y 0.\n"
      "Prints the length in decimetres, then the addresses in visiting "
      "order.\nshortest says on standard error whether the route is proven "
      "optimal.");
  return {command, runRoute};
}

}  // namespace dalvenor_cli
