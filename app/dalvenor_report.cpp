// dalvenor report: a wave planned as dalvenor plan plans it, written as one
// self-contained HTML page with the floor plan, every cart's walk and its
// pick list, and the recorded walks when the wave carries them.

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <system_error>

#include "app/dalvenor_cli.h"
#include "report/report.h"
#include "wave/json_files.h"
#include "wave/output_file.h"
#include "wave/recorded_walks.h"

namespace dalvenor_cli {

namespace {

// The settings as the page lists them, defaults included.
std::vector<std::pair<std::string, std::string>> settingsShown(
    const CliArgs& args) {
  std::string boxes;
  for (const std::string& box : args.boxes) {
    boxes += (boxes.empty() ? "" : "; ") + box;
  }
  return {{"Packing", args.pack},
          {"Grouping", args.group},
          {"Route", args.route},
          {"Box types", boxes.empty() ? "28,29,45,4000,masterBox" : boxes},
          {"Cart", args.cart + " (W,H,D,shelves)"}};
}

}  // namespace

report::ReportInput reportInput(const CliArgs& args,
                                const CartsLoader& loader,
                                const nlohmann::json& rows,
                                const std::string& source) {
  report::ReportInput input;
  input.wave = source;
  input.orderLines = loader.getItems().size();
  input.customers = loader.getCustomers().size();
  input.settings = settingsShown(args);
  input.carts = loader.getLoadedCartsList();
  input.rows = rows.size();
  // The recorded walks, when every row names its "Cart" and "AddressRank".
  const bool recorded =
      std::all_of(rows.begin(), rows.end(), [](const nlohmann::json& row) {
        return row.is_object() && row.contains("Cart") &&
               row.contains("AddressRank");
      });
  if (!recorded) {
    input.recordedNote =
        "The wave carries no recorded walks (\"Cart\" and \"AddressRank\").";
    return input;
  }
  try {
    input.recorded = recordedWalksOf(rows, source);
  } catch (const std::exception& e) {
    input.recordedNote =
        std::string("The recorded walks are not shown: ") + e.what() + ".";
  }
  return input;
}

namespace {

void runReport(const CliArgs& args, std::ostream&) {
  PlanningSetup setup = setupFromArgs(args);
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  planWave(args, setup, loader);

  std::error_code ignored;
  const bool isFile = std::filesystem::exists(args.wave, ignored);
  const nlohmann::json rows =
      isFile ? readJsonFromFile(args.wave) : nlohmann::json::parse(args.wave);
  report::ReportInput input =
      reportInput(args, loader, rows, isFile ? args.wave : "wave text");
  input.wave = args.wave;
  if (auto failure =
          writeFileWholeFailure(args.out, report::renderReport(input))) {
    throw std::runtime_error("cannot write " + args.out + ": " + *failure);
  }
}

}  // namespace

Subcommand addReportCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "report", "Plan a wave and write an HTML page with its route map");
  addPlanningOptions(command, args);
  command->add_option("--out", args.out, "The HTML file to write")->required();
  command->footer(
      "The page needs no network and no other file; open it in any browser.\n"
      "It shows the summary, the floor plan to scale with every cart's walk\n"
      "(select a cart, or add #cart-3 to the address, to follow one), each\n"
      "cart's pick list in walking order and its shelves, and the walks the\n"
      "pickers recorded when the wave's rows carry \"Cart\" and "
      "\"AddressRank\".\n\n" +
      settingsHelp());
  return {command, runReport};
}

}  // namespace dalvenor_cli
