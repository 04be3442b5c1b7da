// End-to-end tests of the dalvenor tool: runs the built program and checks
// its standard output, standard error and exit status.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/process.h"

namespace {

using testing_support::RunResult;

// Runs dalvenor with `args`, each passed as one argument.
RunResult runDalvenor(const std::vector<std::string>& args) {
  return testing_support::runProgram(DALVENOR_BINARY_DIR "/dalvenor", args);
}

// One line "Error: ..." that contains every one of `parts`.
void expectOneErrorLine(const RunResult& result,
                        const std::vector<std::string>& parts) {
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  ASSERT_FALSE(result.err.empty());
  EXPECT_EQ(result.err.rfind("Error: ", 0), 0u) << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
  for (const std::string& part : parts) {
    EXPECT_NE(result.err.find(part), std::string::npos)
        << "missing \"" << part << "\" in " << result.err;
  }
}

TEST(DalvenorCliTest, LocatePrintsAHeaderAndOneLinePerAddress) {
  RunResult result = runDalvenor(
      {"locate", "G000502017", "VAA0002030", "P000203045", "GP00301012"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "address\tsector\tx\ty\txIndex\tyIndex\tlevel\n"
            "G000502017\tG00\t312\t186\t17\t5\t2\n"
            "VAA0002030\tVAA\t420\t0\t30\t0\t2\n"
            "P000203045\tP00\t808\t551\t2\t45\t3\n"
            "GP00301012\tGP0\t633\t421\t3\t12\t1\n");
}

TEST(DalvenorCliTest, DistancePrintsTheWorkedExamplesAsBareIntegers) {
  RunResult result = runDalvenor({"distance", "G000502017", "VCC0001005"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "376\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(runDalvenor({"distance", "VCC0001005", "G000502017"}).out, "376\n");
  EXPECT_EQ(runDalvenor({"distance", "GP00101005", "P000101010"}).out, "452\n");
  EXPECT_EQ(runDalvenor({"distance", "G000502017", "GP00101005"}).out,
            "1016\n");
}

TEST(DalvenorCliTest, HelpDescribesTheToolAndEachSubcommand) {
  RunResult tool = runDalvenor({"--help"});
  EXPECT_EQ(tool.status, 0);
  EXPECT_NE(tool.out.find("locate"), std::string::npos);
  EXPECT_NE(tool.out.find("distance"), std::string::npos);
  RunResult locate = runDalvenor({"locate", "--help"});
  EXPECT_EQ(locate.status, 0);
  EXPECT_NE(locate.out.find("ADDRESS"), std::string::npos);
  RunResult distance = runDalvenor({"distance", "-h"});
  EXPECT_EQ(distance.status, 0);
  EXPECT_NE(distance.out.find("ADDRESS_B"), std::string::npos);
}

TEST(DalvenorCliTest, AddressTooShortExitsTwoNamingIt) {
  expectOneErrorLine(runDalvenor({"distance", "G0", "VAA0002030"}),
                     {"\"G0\": has 2 characters, not 10"});
}

TEST(DalvenorCliTest, AddressWithoutDigitsExitsTwoNamingIt) {
  expectOneErrorLine(runDalvenor({"locate", "G00AB02017"}),
                     {"\"G00AB02017\": no digits at positions 3-4 (row)"});
  expectOneErrorLine(runDalvenor({"distance", "G000502017", "G0005XX017"}),
                     {"\"G0005XX017\": no digits at positions 5-6 (level)"});
  expectOneErrorLine(runDalvenor({"route", "G000502017", "G00\t502017"}),
                     {"\"G00\\t502017\": no digits at positions 3-4 (row)"});
}

// Planned as today, with one warning per distinct address.
TEST(DalvenorCliTest, AddressBeyondTheRacksIsLocatedWithOneWarning) {
  RunResult r = runDalvenor({"locate", "G009999999", "G009999999"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.substr(r.out.find('\n') + 1),
            "G009999999\tG00\t13146\t1314\t999\t99\t99\n"
            "G009999999\tG00\t13146\t1314\t999\t99\t99\n");
  EXPECT_EQ(r.err,
            "WARNING: address \"G009999999\": row 99 lies outside the floor "
            "plan: sector G has rows 0 to 40\n");
}

TEST(DalvenorCliTest, AddressOfAnUnknownSectorExitsTwoNamingIt) {
  expectOneErrorLine(runDalvenor({"distance", "X000502017", "G000502017"}),
                     {"\"X000502017\"", "unknown sector"});
  expectOneErrorLine(runDalvenor({"locate", ""}), {"\"\"", "unknown sector"});
}

TEST(DalvenorCliTest, LocatePrintsNothingWhenOneAddressIsBad) {
  expectOneErrorLine(runDalvenor({"locate", "G000502017", "Q000502017"}),
                     {"\"Q000502017\""});
}

TEST(DalvenorCliTest, WrongUsageExitsTwoWithOneLine) {
  expectOneErrorLine(runDalvenor({}), {"subcommand"});
  expectOneErrorLine(runDalvenor({"bogus"}), {"bogus"});
  expectOneErrorLine(runDalvenor({"locate"}), {"ADDRESS"});
  expectOneErrorLine(runDalvenor({"distance", "G000502017"}), {"ADDRESS_B"});
  expectOneErrorLine(
      runDalvenor({"distance", "G000502017", "VCC0001005", "VAA0002030"}),
      {"VAA0002030"});
  expectOneErrorLine(runDalvenor({"locate", "--zap", "G000502017"}), {"--zap"});
}

TEST(DalvenorCliTest, ErrorMessagesStayOnOneLine) {
  expectOneErrorLine(runDalvenor({"locate", "X\nsecond line"}),
                     {"unknown sector"});
}

}  // namespace

namespace {

const std::string kSampleWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1421886.json";

TEST(DalvenorCliTest, RoutePlansFromStartToEndWithEachSolver) {
  const std::vector<std::string> addresses = {"VCC0001005", "G000502017",
                                              "P000101010"};
  std::vector<std::string> args = {"route"};
  args.insert(args.end(), addresses.begin(), addresses.end());
  RunResult greedy = runDalvenor(args);
  EXPECT_EQ(greedy.status, 0) << greedy.err;
  EXPECT_EQ(greedy.out, "1852\nG000502017\nVCC0001005\nP000101010\n");

  args.insert(args.begin() + 1, {"--solver", "measure"});
  EXPECT_EQ(runDalvenor(args).out,
            "1630\nVCC0001005\nG000502017\nP000101010\n");
  args[2] = "brute";
  EXPECT_EQ(runDalvenor(args).out,
            "1630\nVCC0001005\nG000502017\nP000101010\n");
  // Solver names in any letter case; shortest says whether it is proven.
  args[2] = "SHORTEST";
  RunResult shortest = runDalvenor(args);
  EXPECT_EQ(shortest.out, "1630\nVCC0001005\nG000502017\nP000101010\n");
  EXPECT_EQ(shortest.err, "proven optimal: solved exactly\n");
  args[2] = "Greedy";
  EXPECT_EQ(runDalvenor(args).out, greedy.out);
  std::vector<std::string> twenty = {"route", "--solver", "shortest"};
  for (int cell = 1; cell <= 20; ++cell) {
    twenty.push_back("G0005010" + std::to_string(10 + cell));
  }
  RunResult searched = runDalvenor(twenty);
  EXPECT_EQ(searched.status, 0);
  EXPECT_EQ(searched.err,
            "not proven optimal: more than 15 locations, found by local "
            "search\n");

  std::vector<std::string> ten = {"route", "--solver", "brute"};
  ten.insert(ten.end(), 10, "G000502017");
  expectOneErrorLine(runDalvenor(ten), {"at most 9 addresses, got 10"});
  expectOneErrorLine(
      runDalvenor({"route", "--solver", "fastest", "G000502017"}),
      {"--solver", "fastest"});
}

TEST(DalvenorCliTest, PlanWritesTheExportedPlanAndStatistics) {
  auto out = std::filesystem::temp_directory_path() /
             ("dalvenor_cli_plan_" + std::to_string(getpid()) + ".json");
  RunResult r =
      runDalvenor({"plan", kSampleWave, "--group", "kmeansclustering",
                   "--route", "3", "--out", out.string(), "--stats", "raw"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("TOTAL BOXES AFTER DECOMPOSITION: "), std::string::npos);
  EXPECT_NE(r.err.find("CART_NUMBER      TOTAL_CUSTOMERS"), std::string::npos);
  std::ifstream in(out);
  std::string text(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(out);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find('\n'), text.size() - 1);
  auto plan = nlohmann::json::parse(text);
  ASSERT_TRUE(plan.is_array());
  EXPECT_TRUE(plan[0].contains("items") && plan[0].contains("shelves"));

  RunResult quiet = runDalvenor({"plan", kSampleWave, "--quiet"});
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out.rfind("[{\"items\":", 0), 0u);
  // The defaults route by ShortestRoute; greedy routes are wave_batch's.
  EXPECT_EQ(runDalvenor({"plan", kSampleWave, "--quiet", "--route",
                         "shortestroute", "--group", "avgdistances"})
                .out,
            quiet.out);
  RunResult greedy =
      runDalvenor({"plan", kSampleWave, "--quiet", "--route", "GreedyAlgorithm",
                   "--group", "AVGDistances"});
  EXPECT_EQ(greedy.status, 0);
  EXPECT_NE(greedy.out, quiet.out);

  RunResult table = runDalvenor({"plan", kSampleWave, "--quiet", "--stats"});
  EXPECT_EQ(table.status, 0);
  EXPECT_EQ(table.err.rfind(
                "cart  customers  boxes full/shared  stops  distance [m]\n", 0),
            0u)
      << table.err;
}

TEST(DalvenorCliTest, HelpOfThePlanningCommandsSaysWhatEachSettingDoes) {
  const std::vector<std::string> settings = {
      "--pack 0 BaseLineFFD: ",
      "--pack 1 FFD_OneBoxType: ",
      "--pack 2 FFDS_MultipleBoxTypes: ",
      "--pack 3 BP3D_OneBox: ",
      "--pack 4 BP3D_FFDS_MultiBoxTypes: ",
      "--pack 5 BP3D_MultipleBoxTypes_CountDefined: ",
      "--group 0 AVGDistances: ",
      "--group 1 LeastSquareMethod: ",
      "--group 2 KMeansClustering: ",
      "--group 3 ChooseBest: ",
      "--group 4 ShortestWalk: ",
      "--route 0 NearestNeighbour: ",
      "--route 1 BruteForceOrNearestNeighbour: ",
      "--route 2 GreedyAlgorithm: ",
      "--route 3 BruteForceOrGreedy: ",
      "--route 4 JustMeasureDistance: ",
      "--route 5 ShortestRoute: "};
  for (const char* command : {"plan", "compare", "report"}) {
    RunResult help = runDalvenor({command, "--help"});
    EXPECT_EQ(help.status, 0);
    for (const std::string& setting : settings) {
      EXPECT_NE(help.out.find("\n  " + setting), std::string::npos)
          << command << ": " << setting;
    }
  }
}

// --out into a FIFO writes in place; a full disk (a file size limit, which
// holds for root too) fails with exit 1 and keeps the old plan.
TEST(DalvenorCliTest, PlanOutWritesIntoAFifoAndKeepsTheOldFileOnAFullDisk) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "dalvenor_out_XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path folder = pattern;
  const std::filesystem::path fifo = folder / "fifo", plan = folder / "plan";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto received = std::async(std::launch::async, [&] {
    std::ifstream in(fifo);
    return std::string(std::istreambuf_iterator<char>(in), {});
  });
  RunResult r = runDalvenor({"plan", kSampleWave, "--quiet", "--out", fifo});
  // Should the write not have opened the FIFO, the reader still ends.
  ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(received.get().rfind("[{\"items\":", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));

  std::ofstream(plan) << "old plan";
  r = testing_support::runProgram(
      "sh", {"-c",
             "trap '' XFSZ; ulimit -f 1; exec \"$0\" plan \"$1\" "
             "--quiet --out \"$2\"",
             DALVENOR_BINARY_DIR "/dalvenor", kSampleWave, plan.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Error: cannot write " + plan.string() + ": File too large\n");
  std::ifstream in(plan);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old plan");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
  std::filesystem::remove_all(folder);
}

TEST(DalvenorCliTest, PlanRefusesBadWavesAndBadSettings) {
  RunResult missing = runDalvenor({"plan", "/no/such/wave.json"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err,
            "ERROR> bad path or text or json doesnt include required values\n"
            "Error: /no/such/wave.json: no such file, nor JSON text\n");

  expectOneErrorLine(runDalvenor({"plan", kSampleWave, "--pack", "9"}),
                     {"--pack", "\"9\"", "BaseLineFFD"});
  expectOneErrorLine(runDalvenor({"plan", kSampleWave, "--box", "28,29"}),
                     {"--box", "W,H,D,MAXWEIGHT"});
  expectOneErrorLine(
      runDalvenor({"plan", kSampleWave, "--box", "28,29,-45,4000"}),
      {"\"-45\" is not a positive number"});
  expectOneErrorLine(
      runDalvenor({"plan", kSampleWave, "--cart", "90,200,50,0"}), {"--cart"});
  expectOneErrorLine(runDalvenor({"plan", kSampleWave, "--effort", "-1"}),
                     {"--effort"});
  expectOneErrorLine(runDalvenor({"plan", kSampleWave, "--box", "28,29,45,9,A",
                                  "--box", "30,30,30,9,A"}),
                     {"--box \"30,30,30,9,A\": the name \"A\" is given twice"});
}

TEST(DalvenorCliTest, CompareTabulatesPlannedAndRecordedWalks) {
  RunResult r = runDalvenor({"compare", kSampleWave, "--quiet"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string header, planned, recorded, saving;
  std::getline(lines, header);
  std::getline(lines, planned);
  std::getline(lines, recorded);
  std::getline(lines, saving);
  EXPECT_NE(header.find("total [dm]"), std::string::npos);
  EXPECT_EQ(planned.rfind("planned", 0), 0u);
  EXPECT_EQ(recorded.rfind("recorded", 0), 0u);
  EXPECT_EQ(saving.rfind("saving", 0), 0u);
  EXPECT_NE(saving.find(" %"), std::string::npos);
  // Then the same wave as wave_batch plans it, and the saving against it.
  std::string batch, againstBatch;
  std::getline(lines, batch);
  std::getline(lines, againstBatch);
  EXPECT_EQ(batch.rfind("wave_batch", 0), 0u);
  EXPECT_EQ(againstBatch.rfind("vs batch", 0), 0u);
  RunResult asBatch =
      runDalvenor({"compare", kSampleWave, "--quiet", "--group", "AVGDistances",
                   "--route", "GreedyAlgorithm"});
  ASSERT_EQ(asBatch.status, 0) << asBatch.err;
  EXPECT_NE(asBatch.out.find("vs batch       0.0 %\n"), std::string::npos)
      << asBatch.out;
  EXPECT_NE(asBatch.out.find(batch + "\n"), std::string::npos) << asBatch.out;

  auto noCart = std::filesystem::temp_directory_path() /
                ("dalvenor_nocart_" + std::to_string(getpid()) + ".json");
  std::ofstream(noCart)
      << R"([{"Customer":1,"Product":2,"AddressCode":"G000502017","Qty":1,)"
         R"("Unit":0,"PackageType":1,"ContentQty":1,"X":1,"Y":1,"Z":1,)"
         R"("Weight":1}])";
  RunResult bad = runDalvenor({"compare", noCart.string(), "--quiet"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err,
            "Error: " + noCart.string() + " row 1: \"Cart\": missing\n");
  // A number beyond the int range is bad input like a wrong type.
  std::ofstream(noCart)
      << R"([{"Customer":1,"Product":2,"AddressCode":"G000502017","Qty":1,)"
         R"("Unit":0,"PackageType":1,"ContentQty":1,"X":1,"Y":1,"Z":1,)"
         R"("Weight":1,"Cart":1099511627776,"AddressRank":1}])";
  bad = runDalvenor({"compare", noCart.string(), "--quiet"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "Error: " + noCart.string() +
                         " row 1: \"Cart\" 1099511627776: outside the int "
                         "range\n");
  // A product with a package row only: no unit specification, bad input.
  std::ofstream(noCart)
      << R"([{"Customer":5,"Product":6,"AddressCode":"G000502017","Qty":4,)"
         R"("Unit":1,"PackageType":2,"ContentQty":2,"X":1,"Y":1,"Z":1,)"
         R"("Weight":1,"Cart":1,"AddressRank":1}])";
  bad = runDalvenor({"compare", noCart.string(), "--quiet"});
  std::filesystem::remove(noCart);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "Error: customer 5, product 6: no unit specification\n");

  // The loader takes a wave's JSON text too, but the recorded walks are
  // read from a file only: said so, not as a bare exception name.
  const std::string text =
      R"([{"Customer":1,"Product":2,"AddressCode":"G000502017","Qty":1,)"
      R"("Unit":0,"PackageType":1,"ContentQty":1,"X":1,"Y":1,"Z":1,)"
      R"("Weight":1,"Cart":1,"AddressRank":1}])";
  RunResult fromText = runDalvenor({"compare", text, "--quiet"});
  EXPECT_EQ(fromText.status, 1);
  EXPECT_EQ(fromText.out, "");
  EXPECT_EQ(fromText.err,
            "Error: compare reads the recorded walks from a wave file, not "
            "from JSON text\n");
}

}  // namespace
