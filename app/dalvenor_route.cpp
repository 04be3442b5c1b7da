// dalvenor route: a walking route from the route start through the given
// addresses (one pick line each, in the given order) to the route end.

#include <cctype>
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
  std::string lower = name;
  for (char& c : lower) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  for (const SolverName& solver : kSolvers) {
    if (lower == solver.name) return solver.setting;
  }
  std::string known;
  for (const SolverName& solver : kSolvers) {
    known += (known.empty() ? "" : ", ") + std::string(solver.name);
  }
  throw std::invalid_argument("unknown --solver \"" + name +
                              "\": expected one of " + known);
}

void runRoute(const CliArgs& args, std::ostream& out) {
  for (const std::string& text : args.routeAddresses) parseAddressArg(text);
  const RouteAnswer route = planRoute(args.routeAddresses, args.routeSolver);
  out << route.length << '\n';
  for (const std::string& address : route.order) out << address << '\n';
  if (settingOf(args.routeSolver) == ShortestRoute) {
    std::cerr << (route.optimal
                      ? "proven optimal: solved exactly\n"
                      : "not proven optimal: more than " +
                            std::to_string(route_search::kExactStopLimit) +
                            " locations, found by local search\n");
  }
}

}  // namespace

RouteAnswer planRoute(const std::vector<std::string>& addresses,
                      const std::string& solver) {
  RouteAnswer answer;
  std::vector<CartOItem> lines;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (auto warning = checkAddressArg(addresses[i])) {
      answer.warnings.push_back(*warning);
    }
    lines.emplace_back(OItem(0, static_cast<int>(i) + 1, addresses[i], 1));
  }
  const ShortestPathAlgorithms setting = settingOf(solver);
  const std::size_t limit = tsp_solver::kBruteForceLineLimit;
  if (setting == BruteForceOrNearestNeighbour && lines.size() > limit) {
    throw std::invalid_argument("--solver brute plans at most " +
                                std::to_string(limit) + " addresses, got " +
                                std::to_string(lines.size()) +
                                " (use nearest, greedy or shortest)");
  }
  Warehouse warehouse;
  std::vector<CartOItem> order;
  answer.length =
      tsp_solver::routeBySetting(setting, lines, warehouse, &order,
                                 routeStart(), routeEnd(), &answer.optimal);
  for (const CartOItem& line : order) {
    answer.order.push_back(line.oItem.addressCode);
  }
  return answer;
}

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
