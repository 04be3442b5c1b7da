// End-to-end tests of dalvenor report: the page it writes and the errors it
// shares with plan.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/process.h"

namespace {

using testing_support::RunResult;

const std::string kWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1421886.json";

RunResult runDalvenor(const std::vector<std::string>& args) {
  return testing_support::runProgram(DALVENOR_BINARY_DIR "/dalvenor", args);
}

std::filesystem::path temporary(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("dalvenor_report_" + std::to_string(getpid()) + "_" + name);
}

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DalvenorReportTest, WritesOneSelfContainedPage) {
  const auto out = temporary("page.html");
  RunResult r = runDalvenor({"report", kWave, "--quiet", "--out", out});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  const std::string page = readAll(out);
  std::filesystem::remove(out);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n", 0), 0u);
  EXPECT_NE(page.find("id=\"walk-cart-1\""), std::string::npos);
  EXPECT_NE(page.find("id=\"walk-rec-"), std::string::npos);
  // Nothing is fetched: no external file, style sheet or script, and no
  // address but the SVG namespace.
  for (const char* fetch : {"<link", " src=", "url(", "@import", "https:"}) {
    EXPECT_EQ(page.find(fetch), std::string::npos) << fetch;
  }
  std::size_t http = page.find("http:");
  EXPECT_EQ(page.substr(http, 26), "http://www.w3.org/2000/svg");
  EXPECT_EQ(page.find("http:", http + 1), std::string::npos);
}

TEST(DalvenorReportTest, RefusesWhatPlanRefusesAndWritesNothing) {
  const auto out = temporary("refused.html");
  RunResult missing =
      runDalvenor({"report", "/no/such/wave.json", "--out", out});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "ERROR> bad path or text or json doesnt include required values\n"
            "Error: /no/such/wave.json: no such file, nor JSON text\n");
  EXPECT_EQ(missing.err,
            runDalvenor({"plan", "/no/such/wave.json", "--out", out}).err);
  RunResult group =
      runDalvenor({"report", kWave, "--group", "fastest", "--out", out});
  EXPECT_EQ(group.status, 2);
  EXPECT_NE(group.err.find("Invalid --group \"fastest\""), std::string::npos);
  RunResult noOut = runDalvenor({"report", kWave});
  EXPECT_EQ(noOut.status, 2);
  EXPECT_NE(noOut.err.find("--out"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out));

  RunResult unwritable = runDalvenor(
      {"report", kWave, "--quiet", "--out", "/no/such/folder/report.html"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err,
            "Error: cannot write /no/such/folder/report.html: cannot create a "
            "temporary file in /no/such/folder: No such file or directory\n");
  // A folder in the way stays as it was.
  const auto folder = temporary("folder");
  std::filesystem::create_directory(folder);
  RunResult onFolder =
      runDalvenor({"report", kWave, "--quiet", "--out", folder});
  EXPECT_EQ(onFolder.status, 1);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  std::filesystem::remove_all(folder);
}

TEST(DalvenorReportTest, AWaveWithoutRecordedWalksShowsThePlanAlone) {
  const auto out = temporary("text.html");
  const std::string text =
      R"([{"Customer":1,"Product":2,"AddressCode":"G000502017","Qty":1,)"
      R"("Unit":0,"PackageType":1,"ContentQty":1,"X":1,"Y":1,"Z":1,)"
      R"("Weight":1}])";
  RunResult r = runDalvenor({"report", text, "--quiet", "--out", out});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string page = readAll(out);
  std::filesystem::remove(out);
  EXPECT_NE(page.find("The wave carries no recorded walks"), std::string::npos);
  EXPECT_NE(page.find("<tr><th>Rows<td class=\"n\">1</tr>"), std::string::npos);
  EXPECT_EQ(page.find("id=\"walk-rec-"), std::string::npos);
}

}  // namespace
