// End-to-end tests of the dalvenor tool: runs the built program and checks
// its standard output, standard error and exit status.

#include <gtest/gtest.h>

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
                     {"\"G0\"", "basic_string::substr"});
}

TEST(DalvenorCliTest, AddressWithoutDigitsExitsTwoNamingIt) {
  expectOneErrorLine(runDalvenor({"locate", "G00AB02017"}),
                     {"\"G00AB02017\"", "stof"});
  expectOneErrorLine(runDalvenor({"distance", "G000502017", "G0005XX017"}),
                     {"\"G0005XX017\"", "stoi"});
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
