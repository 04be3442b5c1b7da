// End-to-end tests of wave_batch in a folder tree of its own: run/ is the
// working directory, data/data_both/ the wave folder it reads.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::RunResult;

std::string row(int customer,
                int product,
                const char* address,
                int qty,
                int unit = 0,
                int content = 1,
                int cart = 1,
                int rank = 1) {
  return nlohmann::json({{"Customer", customer},
                         {"Product", product},
                         {"AddressCode", address},
                         {"Qty", qty},
                         {"Unit", unit},
                         {"PackageType", unit + 1},
                         {"ContentQty", content},
                         {"X", 10.5},
                         {"Y", 12},
                         {"Z", 8},
                         {"Weight", 0.4},
                         {"Cart", cart},
                         {"AddressRank", rank}})
      .dump();
}

const std::string kFinalWave = std::string("[") +
                               row(11, 501, "G000502017", 3, 0, 1, 1, 2) + "," +
                               row(11, 501, "G000502017", 3, 1, 6, 1, 2) + "," +
                               row(11, 502, "VCC0001005", 2, 0, 1, 1, 1) + "," +
                               row(12, 777, "P000101010", 1, 0, 1, 2, 1) + "," +
                               row(13, 9, "GP00301012", 14, 0, 1, 2, 2) + "," +
                               row(13, 9, "GP00301012", 14, 1, 4, 2, 2) + "]";

class WaveBatchTest : public testing::Test {
 protected:
  fs::path root = fs::temp_directory_path() /
                  ("dalvenor_wave_batch_" + std::to_string(getpid()));
  fs::path run = root / "run";
  fs::path waves = root / "data" / "data_both";

  void SetUp() override {
    fs::remove_all(root);
    fs::create_directories(run);
    fs::create_directories(waves);
  }
  void TearDown() override { fs::remove_all(root); }

  void writeWave(const std::string& name, const std::string& text) {
    std::ofstream(waves / name) << text;
  }
  RunResult runBatch() {
    return testing_support::runProgram(DALVENOR_BINARY_DIR "/wave_batch", {},
                                       run);
  }
  std::string outJson() {
    std::ifstream in(run / "out.json");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(WaveBatchTest, PlansEveryWaveAndWritesTheFinalPlan) {
  writeWave("wave1422307.json", kFinalWave);
  writeWave("small.json", "[" + row(1, 2, "VAA0002030", 1) + "]");
  RunResult r = runBatch();
  ASSERT_EQ(r.status, 0) << r.err;

  // Per wave: the quoted path, the two headings, an empty line and "***".
  for (const char* name : {"wave1422307.json", "small.json"}) {
    std::string block = std::string("\"./../data/data_both/") + name +
                        "\"\nLIBRARY RESULT: \nCOMPANY RESULT: \n\n***\n";
    EXPECT_NE(r.out.find(block), std::string::npos) << r.out;
  }
  // Per wave the library's progress: lines, boxes, planned, recorded.
  std::size_t wholeLines = 0;
  for (std::size_t at = r.err.find("WHOLE DISTANCE [dm]: ");
       at != std::string::npos;
       at = r.err.find("WHOLE DISTANCE [dm]: ", at + 1)) {
    ++wholeLines;
  }
  EXPECT_EQ(wholeLines, 2u * 2 + 1) << r.err;
  EXPECT_NE(r.err.find("TOTAL NUMBER OF ITEMS IN ORDER> 4\n"),
            std::string::npos);

  std::string text = outJson();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\n'), text.size() - 1);  // compact: one line
  auto plan = nlohmann::json::parse(text);
  std::map<std::pair<int, int>, int> items, shelves;
  for (const auto& cart : plan) {
    for (const auto& line : cart.at("items")) {
      items[{line["Customer"], line["Product"]}] += line["Qty"].get<int>();
    }
    for (const auto& shelf : cart.at("shelves")) {
      if (shelf.is_null()) continue;
      for (const auto& piece : shelf) {
        shelves[{piece["Customer"], piece["Product"]}] +=
            piece["Qty"].get<int>();
      }
    }
  }
  const std::map<std::pair<int, int>, int> ordered = {
      {{11, 501}, 3}, {{11, 502}, 2}, {{12, 777}, 1}, {{13, 9}, 14}};
  EXPECT_EQ(items, ordered);
  EXPECT_EQ(shelves, ordered);

  // dalvenor plan with greedy routes and average-distance grouping gives
  // the batch planner's plan.
  RunResult same = testing_support::runProgram(
      DALVENOR_BINARY_DIR "/dalvenor",
      {"plan", (waves / "wave1422307.json").string(), "--route",
       "GreedyAlgorithm", "--group", "AVGDistances", "--quiet"});
  EXPECT_EQ(same.out, text);
}

TEST_F(WaveBatchTest, AnEmptyFolderStillPlansTheFinalWaveAsNull) {
  RunResult r = runBatch();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("wave_batch: ./../data/data_both/wave1422307.json: "
                       "no such file, nor JSON text; out.json holds null\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(outJson(), "null\n");
}

TEST_F(WaveBatchTest, AMissingWaveFolderEndsWithOneLine) {
  fs::remove_all(root / "data");
  RunResult r = runBatch();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("wave_batch: cannot read the wave folder "
                        "./../data/data_both: ",
                        0),
            0u)
      << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
  EXPECT_FALSE(fs::exists(run / "out.json"));
}

TEST_F(WaveBatchTest, BadEntriesAreReportedAndTheBatchGoesOn) {
  writeWave("wave1422307.json", kFinalWave);
  fs::create_directory(waves / "subfolder");
  // Planning keys only: the recorded-walk comparison cannot read it.
  writeWave("no_cart.json",
            R"([{"Customer":1,"Product":2,"AddressCode":"G000502017",)"
            R"("Qty":1,"Unit":0,"PackageType":1,"ContentQty":1,"X":1,)"
            R"("Y":1,"Z":1,"Weight":1}])");
  // A product with a package row only.
  writeWave("no_unit.json", "[" + row(5, 6, "G000502017", 4, 1, 2) + "]");
  RunResult r = runBatch();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("wave_batch: ./../data/data_both/subfolder: "),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("wave_batch: ./../data/data_both/no_cart.json row 1: "
                       "\"Cart\": missing\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("wave_batch: ./../data/data_both/no_unit.json: "
                       "customer 5, product 6: no unit specification"),
            std::string::npos);
  // Every entry was still visited, and the final plan written.
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '*'), 4 * 3);
  EXPECT_NE(outJson().find("\"items\""), std::string::npos);
}

// A wave the loader refuses is a failed wave: after the loader's own line,
// one line with the reason, and neither result title.
TEST_F(WaveBatchTest, AWaveThatCannotBeLoadedCountsAsFailed) {
  writeWave("wave1422307.json", kFinalWave);
  nlohmann::json refused =
      nlohmann::json::parse("[" + row(5, 6, "G000502017", 4) + "," +
                            row(5, 7, "X000104018", 1) + "]");
  writeWave("refused.json", refused.dump());
  RunResult r = runBatch();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ERROR> bad path or text or json doesnt include "
                       "required values\nwave_batch: ./../data/data_both/"
                       "refused.json row 2: \"AddressCode\" \"X000104018\": "
                       "unknown sector\nTOTAL"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("\"./../data/data_both/refused.json\"\n\n***\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(outJson().find("\"items\""), std::string::npos);
}

// Waves are planned in name order, whatever order the folder lists them in.
TEST_F(WaveBatchTest, WavesArePlannedInNameOrder) {
  const std::string wave = "[" + row(1, 2, "VAA0002030", 1) + "]";
  const std::vector<std::string> sorted = {
      "a.json", "b.json", "c.json",          "d.json",
      "e.json", "f.json", "wave1422307.json"};
  for (auto name = sorted.rbegin(); name != sorted.rend(); ++name) {
    writeWave(*name, wave);
  }
  const std::string out = runBatch().out;
  std::size_t previous = 0;
  for (const std::string& name : sorted) {
    std::size_t at = out.find(name);
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_GE(at, previous) << name;
    previous = at;
  }
}

TEST_F(WaveBatchTest, AnUnloadableFinalWaveGivesNullNotAnotherPlan) {
  writeWave("other.json", "[" + row(1, 2, "VAA0002030", 1) + "]");
  writeWave("wave1422307.json", "[{\"Customer\":");
  RunResult r = runBatch();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(outJson(), "null\n");
  EXPECT_NE(r.err.find("out.json holds null"), std::string::npos);
}

TEST_F(WaveBatchTest, AnUnwritableOutputIsReportedAndLeavesTheOldFile) {
  writeWave("wave1422307.json", kFinalWave);
  // A link planted at the old temporary name is neither followed nor removed.
  std::ofstream(root / "victim") << "precious";
  fs::create_symlink(root / "victim", run / "out.json.tmp");
  RunResult r = runBatch();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(outJson().find("\"items\""), std::string::npos);
  EXPECT_TRUE(fs::is_symlink(run / "out.json.tmp"));

  // A folder the program may not write into (root runs it as another user).
  std::ofstream(run / "out.json", std::ios::trunc) << "old plan";
  fs::permissions(
      run,
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
      fs::perm_options::remove);
  std::string command = DALVENOR_BINARY_DIR "/wave_batch";
  if (::geteuid() == 0) {
    // The other user may not reach the build folder (a clone in a private
    // temporary folder, say): it runs a copy of the program and its library
    // from the test's own folder.
    const fs::path bin = root / "bin";
    fs::create_directories(bin);
    for (const char* file : {"wave_batch", "libdalvenor.so"}) {
      fs::copy_file(fs::path(DALVENOR_BINARY_DIR) / file, bin / file);
    }
    command = "LD_LIBRARY_PATH=" + bin.string() +
              " setpriv --reuid=65534 --regid=65534 --clear-groups " +
              (bin / "wave_batch").string();
  }
  r = testing_support::runProgram("sh", {"-c", command}, run);
  fs::permissions(run, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("wave_batch: cannot write out.json: cannot create a "
                       "temporary file in .: Permission denied\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(outJson(), "old plan");
  EXPECT_EQ(std::distance(fs::directory_iterator(run), {}), 2);

  // out.json cannot be replaced (it is a folder): reported, left alone.
  fs::remove(run / "out.json");
  fs::create_directory(run / "out.json");
  r = runBatch();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("wave_batch: cannot write out.json: is a folder\n"),
            std::string::npos);
  EXPECT_TRUE(fs::is_directory(run / "out.json"));
}

}  // namespace
