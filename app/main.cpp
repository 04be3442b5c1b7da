// wave_batch: plans every wave file of ./../data/data_both with the fixed
// configuration, prints for each the planned and the recorded walking
// distance, then plans wave1422307.json again and writes its plan to
// out.json. Takes no arguments.
//
// Exit status 0 when every wave was planned and out.json written; 1 when the
// wave folder is missing, any wave failed (could not be loaded, planned or
// compared), the final wave could not be planned, or out.json could not be
// written. Each failure is one line on the standard error naming the file
// and the reason; the batch goes on.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "geometry/warehouse.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/helper.h"

namespace {

namespace fs = std::filesystem;

const char* const kWaveFolder = "./../data/data_both";
const char* const kFinalWave = "./../data/data_both/wave1422307.json";
const char* const kOutputFile = "out.json";

int fail(const std::string& message) {
  std::cerr << "wave_batch: " << message << std::endl;
  return 1;
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

  bool anyFailed = false;
  for (; !ec && folder != fs::directory_iterator(); folder.increment(ec)) {
    const fs::path path = folder->path();
    std::cout << path << std::endl;
    try {
      loader.loadItemsAndSpec(path.string());
      if (!loader.lastLoadSucceeded()) {
        // The loader wrote its error line; the wave is not planned.
        anyFailed = true;
        fail(path.string() + ": cannot be loaded");
      }
      std::cout << "LIBRARY RESULT: " << std::endl;
      loader.loadingCartsRun(solver, cartConfig, boxes);
      std::cout << "COMPANY RESULT: " << std::endl;
      loader.testUsedData(path.string());
    } catch (const std::exception& e) {
      anyFailed = true;
      fail(path.string() + ": " + e.what());
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
      fail(std::string(kFinalWave) + ": cannot be loaded; out.json holds null");
    }
  } catch (const std::exception& e) {
    fail(std::string(kFinalWave) + ": " + e.what() + "; out.json holds null");
  }
  if (auto failure = writeFileWholeFailure(kOutputFile, plan + "\n")) {
    return fail(std::string("cannot write ") + kOutputFile + ": " + *failure);
  }
  return anyFailed || !finalPlanned ? 1 : 0;
}
