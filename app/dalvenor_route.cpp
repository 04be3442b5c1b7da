// dalvenor route: a walking route from the route start through the given
// addresses (one pick line each, in the given order) to the route end.

#include <iostream>
#include <string>
#include <vector>

#include "app/dalvenor_cli.h"
#include "routing/tsp_solver.h"
#include "wave/carts_loader.h"

namespace dalvenor_cli {

namespace {

// Brute force measures n! routes; the planner uses it up to 9 lines.
constexpr std::size_t kBruteForceLimit = 9;

void runRoute(const CliArgs& args, std::ostream& out) {
  std::vector<CartOItem> lines;
  for (std::size_t i = 0; i < args.routeAddresses.size(); ++i) {
    const std::string& text = args.routeAddresses[i];
    parseAddressArg(text);
    lines.emplace_back(OItem(0, static_cast<int>(i) + 1, text, 1));
  }
  if (args.routeSolver == "brute" && lines.size() > kBruteForceLimit) {
    throw std::invalid_argument(
        "--solver brute plans at most " + std::to_string(kBruteForceLimit) +
        " addresses, got " + std::to_string(lines.size()) +
        " (use nearest or greedy)");
  }
  Warehouse warehouse;
  const SECTOR_ADDR_T start = routeStart(), end = routeEnd();
  std::vector<CartOItem> order;
  int length = 0;
  if (args.routeSolver == "measure") {
    length = tsp_solver::justMeasureDistance(lines, warehouse, start, end);
    order = lines;
  } else if (args.routeSolver == "nearest") {
    length = tsp_solver::nearestNeighbour(lines, warehouse, &order, start, end);
  } else if (args.routeSolver == "brute") {
    length = tsp_solver::bruteForce(lines, warehouse, &order, start, end);
  } else {
    length = tsp_solver::greedyAlgorithm(lines, warehouse, &order, start, end);
  }
  out << length << '\n';
  for (const CartOItem& line : order) out << line.oItem.addressCode << '\n';
}

}  // namespace

Subcommand addRouteCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "route", "Plan a walking route through addresses, start to end");
  command
      ->add_option("--solver", args.routeSolver,
                   "measure (the given order), nearest, brute (at most 9 "
                   "addresses) or greedy")
      ->check(CLI::IsMember({"measure", "nearest", "brute", "greedy"}))
      ->capture_default_str();
  command->add_option("ADDRESS", args.routeAddresses, "Address text")
      ->required();
  command->footer(
      "The route starts at VAA x 300, y 0 and ends at VAA x 620, y 0.\n"
      "Prints the length in decimetres, then the addresses in visiting "
      "order.");
  return {command, runRoute};
}

}  // namespace dalvenor_cli
