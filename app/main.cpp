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
#include <string>
#include <system_error>
#include <vector>

#include "geometry/warehouse.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/output_file.h"

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

}  // namespace

int main() {
  is_debug_on = true;
  SolverConfiguration solver(FFD_OneBoxType, AVGDistances, GreedyAlgorithm);
  BoxConfiguration boxes;
  boxes.addBox(Box(28.0f, 29.0f, 45.0f, 4000.0f, "masterBox", 1.0f), 1000);
  CartConfiguration cartConfig(90.0f, 200.0f, 50.0f, 1.0f, 3);
  Warehouse warehouse;
  CartsLoader loader(warehouse);

  std::error_code ec;
  fs::directory_iterator folder(kWaveFolder, ec);
  if (ec) {
    return fail(std::string("cannot read the wave folder ") + kWaveFolder +
                ": " + ec.message());
  }
  // Planned in name order, so that every run prints the same.
  std::vector<fs::path> paths;
  for (; !ec && folder != fs::directory_iterator(); folder.increment(ec)) {
    paths.push_back(folder->path());
  }
  std::sort(paths.begin(), paths.end());

  bool anyFailed = false;
  for (const fs::path& path : paths) {
    std::cout << path << std::endl;
    try {
      loader.loadItemsAndSpec(path.string());
      if (!loader.lastLoadSucceeded()) {
        // After the loader's own error line, one line with the reason; a
        // wave that was not loaded is neither planned nor compared.
        anyFailed = true;
        fail(loader.lastLoadError());
      } else {
        std::cout << "LIBRARY RESULT: " << std::endl;
        loader.loadingCartsRun(solver, cartConfig, boxes);
        std::cout << "COMPANY RESULT: " << std::endl;
        loader.testUsedData(path.string());
      }
    } catch (const std::exception& e) {
      anyFailed = true;
      fail(naming(path.string(), e));
    }
    std::cout << std::endl << "***" << std::endl;
  }
  if (ec) {
    // Listing stopped part way: the waves not reached count as failed.
    anyFailed = true;
    fail(std::string("cannot read on in the wave folder ") + kWaveFolder +
         ": " + ec.message());
  }

  // The final wave gets a loader of its own, so out.json never receives the
  // plan of another wave.
  CartsLoader finalLoader(warehouse);
  std::string plan = "null";
  bool finalPlanned = false;
  try {
    finalLoader.loadItemsAndSpec(kFinalWave);
    if (finalLoader.lastLoadSucceeded()) {
      finalLoader.loadingCartsRun(solver, cartConfig, boxes);
      plan = finalLoader.exportCartsToJson(true, true);
      finalPlanned = true;
    } else {
      fail(finalLoader.lastLoadError() + "; out.json holds null");
    }
  } catch (const std::exception& e) {
    fail(naming(kFinalWave, e) + "; out.json holds null");
  }
  if (auto failure = writeFileWholeFailure(kOutputFile, plan + "\n")) {
    return fail(std::string("cannot write ") + kOutputFile + ": " + *failure);
  }
  return anyFailed || !finalPlanned ? 1 : 0;
}
