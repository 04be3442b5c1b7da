// wave_batch: plans every wave file of ./../data/data_both with the fixed
// configuration, prints for each the planned and the recorded walking
// distance, then plans wave1422307.json again and writes its plan to
// out.json. Takes no arguments.
//
// The waves are planned in name order. Exit status 0 when every wave was
// planned and out.json written; 1 when the wave folder is missing, any wave
// failed (could not be loaded, planned or compared), the final wave could not
// be planned, or out.json could not be written. Each failure is one line of
// the program on the standard error naming the file and the reason (after
// the loader's own error line for a wave it refuses); the batch goes on. A
// wave that cannot be loaded gets no result titles.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "geometry/warehouse.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/output_file.h"
#include "wave/planning_setup.h"

namespace {

namespace fs = std::filesystem;

const char* const kWaveFolder = "./../data/data_both";
const char* const kFinalWave = "./../data/data_both/wave1422307.json";
const char* const kOutputFile = "out.json";

int fail(const std::string& message) {
  std::cerr << "wave_batch: " << message << std::endl;
  return 1;
}

// An exception's message naming the wave file (once: the recorded-picking
// reader names it itself).
std::string naming(const std::string& path, const std::exception& e) {
  const std::string reason = e.what();
  return reason.starts_with(path) ? reason : path + ": " + reason;
}

// Loads, plans and compares one wave of the folder on the batch's loader.
// False when it failed; the reason is then written.
bool planFolderWave(const fs::path& path,
                    CartsLoader& loader,
                    PlanningSetup& setup) {
  std::cout << path << std::endl;
  bool planned = true;
  try {
    loader.loadItemsAndSpec(path.string());
    if (!loader.lastLoadSucceeded()) {
      // After the loader's own error line, one line with the reason; a
      // wave that was not loaded is neither planned nor compared.
      planned = false;
      fail(loader.lastLoadError());
    } else {
      std::cout << "LIBRARY RESULT: " << std::endl;
      loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
      std::cout << "COMPANY RESULT: " << std::endl;
      loader.testUsedData(path.string());
    }
  } catch (const std::exception& e) {
    planned = false;
    fail(naming(path.string(), e));
  }
  std::cout << std::endl << "***" << std::endl;
  return planned;
}

// Plans every wave of the folder in name order. Whether any failed; nothing
// when the folder cannot be read at all (the reason is then written).
std::optional<bool> planFolder(Warehouse& warehouse, PlanningSetup& setup) {
  std::error_code ec;
  fs::directory_iterator folder(kWaveFolder, ec);
  if (ec) {
    fail(std::string("cannot read the wave folder ") + kWaveFolder + ": " +
         ec.message());
    return std::nullopt;
  }
  // Planned in name order, so that every run prints the same.
  std::vector<fs::path> paths;
  for (; !ec && folder != fs::directory_iterator(); folder.increment(ec)) {
    paths.push_back(folder->path());
  }
  std::sort(paths.begin(), paths.end());

  CartsLoader loader(warehouse);
  bool anyFailed = false;
  for (const fs::path& path : paths) {
    if (!planFolderWave(path, loader, setup)) anyFailed = true;
  }
  if (ec) {
    // Listing stopped part way: the waves not reached count as failed.
    anyFailed = true;
    fail(std::string("cannot read on in the wave folder ") + kWaveFolder +
         ": " + ec.message());
  }
  return anyFailed;
}

// The exported plan of the final wave, or nothing when it could not be
// planned (the reason is then written). The wave gets a loader of its own,
// so out.json never receives the plan of another wave.
std::optional<std::string> planFinalWave(Warehouse& warehouse,
                                         PlanningSetup& setup) {
  CartsLoader finalLoader(warehouse);
  try {
    finalLoader.loadItemsAndSpec(kFinalWave);
    if (finalLoader.lastLoadSucceeded()) {
      finalLoader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
      return finalLoader.exportCartsToJson(true, true);
    }
    fail(finalLoader.lastLoadError() + "; out.json holds null");
  } catch (const std::exception& e) {
    fail(naming(kFinalWave, e) + "; out.json holds null");
  }
  return std::nullopt;
}

}  // namespace

int main() {
  is_debug_on = true;
  PlanningSetup setup = batchConfiguration();
  Warehouse warehouse;
  const std::optional<bool> anyFailed = planFolder(warehouse, setup);
  if (!anyFailed) return 1;
  const std::optional<std::string> plan = planFinalWave(warehouse, setup);
  if (auto failure =
          writeFileWholeFailure(kOutputFile, plan.value_or("null") + "\n")) {
    return fail(std::string("cannot write ") + kOutputFile + ": " + *failure);
  }
  return *anyFailed || !plan ? 1 : 0;
}
