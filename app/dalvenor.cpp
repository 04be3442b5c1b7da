// dalvenor: the planner's command-line tool.
//
//   dalvenor locate ADDRESS...             resolve address texts to plan points
//   dalvenor distance ADDRESS_A ADDRESS_B  walking distance in decimetres
//   dalvenor route [--solver S] ADDRESS... a walking route through addresses
//   dalvenor plan WAVE [options]           plan a wave, print the plan
//   dalvenor compare WAVE [options]        plan against the recorded walks
//   dalvenor report WAVE [options] --out F an HTML page with the route map
//   dalvenor serve [--port P] [options]    the planning service over HTTP
//
// Each subcommand is one add...Command function: it registers the subcommand
// and its arguments (stored into CliArgs) and returns the function that runs
// it once parsing succeeded. A new subcommand adds its fields to CliArgs, one
// add...Command function and one line in main.
//
// Exit status: 0 on success (and for --help), 2 for wrong usage or bad input
// (an address without the address form or of no known sector, an unknown
// algorithm name, a bad value in the recorded walks), 1 for any other
// failure. Every failure writes one line "Error: ..." to the standard error;
// a wave that cannot be loaded is exit status 1, and the loader's own error
// line comes before the one naming the file, row, key, value and reason.

#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/dalvenor_cli.h"
#include "geometry/address_check.h"
#include "geometry/waddress.h"
#include "geometry/warehouse.h"
#include "wave/json_fields.h"

namespace dalvenor_cli {

std::optional<std::string> checkAddressArg(const std::string& text) {
  if (auto error = ver2::mapping::addressFormatError(text)) {
    throw std::invalid_argument("Invalid address " +
                                wave_fields::shownValue(text) + ": " + *error);
  }
  if (auto outside = ver2::mapping::outsideFloorPlan(text)) {
    return "address " + wave_fields::shownValue(text) + ": " + *outside;
  }
  return std::nullopt;
}

WAddress parseAddressArg(const std::string& text) {
  if (auto warning = checkAddressArg(text)) {
    static std::mutex lock;
    static std::set<std::string> warned;
    const std::lock_guard<std::mutex> guard(lock);
    if (warned.insert(text).second) {
      std::cerr << "WARNING: " << *warning << '\n';
    }
  }
  return WAddress(text);
}

namespace {

// locate: one header line, then per address its text, sector, x, y, xIndex,
// yIndex and level, tab-separated. Every address is parsed before anything
// is printed.
void runLocate(const CliArgs& args, std::ostream& out) {
  std::vector<WAddress> addresses;
  addresses.reserve(args.locateAddresses.size());
  for (const std::string& text : args.locateAddresses) {
    addresses.push_back(parseAddressArg(text));
  }
  out << "address\tsector\tx\ty\txIndex\tyIndex\tlevel\n";
  for (const WAddress& address : addresses) {
    const SECTOR_ADDR_T& p = address.point();
    out << address.getRawSectorAddress() << '\t' << p.sector << '\t' << p.x
        << '\t' << p.y << '\t' << p.xIndex << '\t' << p.yIndex << '\t'
        << p.level << '\n';
  }
}

}  // namespace

Subcommand addLocateCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "locate", "Resolve storage address texts to points of the plan");
  command
      ->add_option("ADDRESS", args.locateAddresses,
                   "Address text, e.g. G000502017 (sector, row, level, "
                   "cell)")
      ->required();
  command->footer(
      "Prints a header line, then one tab-separated line per address:\n"
      "address, sector, x, y, xIndex, yIndex, level (x, y in decimetres).");
  return {command, runLocate};
}

namespace {

// distance: the walking distance in decimetres, a bare integer.
void runDistance(const CliArgs& args, std::ostream& out) {
  WAddress from = parseAddressArg(args.distanceFrom);
  WAddress to = parseAddressArg(args.distanceTo);
  Warehouse warehouse;
  out << warehouse.getDistanceBetweenAddresses(from, to) << '\n';
}

}  // namespace

Subcommand addDistanceCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "distance", "Walking distance between two addresses, in decimetres");
  command->add_option("ADDRESS_A", args.distanceFrom, "First address text")
      ->required();
  command->add_option("ADDRESS_B", args.distanceTo, "Second address text")
      ->required();
  return {command, runDistance};
}

}  // namespace dalvenor_cli

namespace {

// Messages may quote argument texts; keep every error on one line.
std::string oneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  while (!message.empty() && message.back() == ' ') message.pop_back();
  return message;
}

int reportError(const std::string& message, int exitCode) {
  std::cerr << "Error: " << oneLine(message) << '\n';
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dalvenor_cli;
  try {
    CliArgs args;
    CLI::App app{
        "Order-picking planner for the warehouse: addresses, "
        "distances, routes and whole wave plans",
        "dalvenor"};
    const std::vector<Subcommand> subcommands = {
        addLocateCommand(app, args),  addDistanceCommand(app, args),
        addRouteCommand(app, args),   addPlanCommand(app, args),
        addCompareCommand(app, args), addReportCommand(app, args),
        addServeCommand(app, args),
    };
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
      // --help is reported through a "parse error" with exit code 0.
      if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
        return app.exit(e);
      }
      return reportError(std::string(e.what()) + " (see dalvenor --help)",
                         kExitUsage);
    }
    for (const Subcommand& subcommand : subcommands) {
      if (subcommand.command->parsed()) {
        subcommand.run(args, std::cout);
        return 0;
      }
    }
    // Not required through CLI11, whose message would not name an unknown
    // subcommand given in its place (that one is reported as unexpected).
    std::string names;
    for (const Subcommand& subcommand : subcommands) {
      names += (names.empty() ? "" : ", ") + subcommand.command->get_name();
    }
    return reportError(
        "A subcommand is required: one of " + names + " (see dalvenor --help)",
        kExitUsage);
  } catch (const std::invalid_argument& e) {
    return reportError(e.what(), kExitUsage);
  } catch (const std::exception& e) {
    return reportError(e.what(), kExitFailure);
  } catch (...) {
    return reportError("Unknown failure", kExitFailure);
  }
}
