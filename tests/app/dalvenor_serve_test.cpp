// End-to-end tests of dalvenor serve: the built program started on
// 127.0.0.1, called with a real HTTP client, its answers checked against the
// subcommands that plan the same input.

#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/process.h"
#include "app/server_process.h"

namespace {

using nlohmann::json;
using testing_support::RawConnection;
using testing_support::ServerProcess;

const std::string kTool = DALVENOR_BINARY_DIR "/dalvenor";
const std::string kSmallWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1421886.json";
const std::string kMediumWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1422014.json";

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string toolOutput(const std::vector<std::string>& args) {
  testing_support::RunResult result = testing_support::runProgram(kTool, args);
  EXPECT_EQ(result.status, 0) << result.err;
  return result.out;
}

// The first `count` distinct addresses of a wave.
std::vector<std::string> waveAddresses(const std::string& path,
                                       std::size_t count) {
  std::vector<std::string> addresses;
  std::set<std::string> seen;
  for (const json& row : json::parse(readFile(path))) {
    const std::string address = row["AddressCode"];
    if (seen.insert(address).second) addresses.push_back(address);
    if (addresses.size() == count) break;
  }
  return addresses;
}

httplib::Result post(httplib::Client& client,
                     const std::string& path,
                     const std::string& body) {
  return client.Post(path.c_str(), body, "application/json");
}

// An error answer: its status, a JSON body naming the reason, no trace of
// the server's own files unless the request sent their names itself.
void expectError(const httplib::Result& result,
                 int status,
                 const std::string& reasonPart,
                 bool sentPaths = false) {
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(result->status, status) << result->body;
  EXPECT_EQ(result->get_header_value("Content-Type"), "application/json");
  const json body = json::parse(result->body);
  EXPECT_EQ(body["status"], status);
  const std::string reason = body["error"];
  EXPECT_NE(reason.find(reasonPart), std::string::npos) << reason;
  if (!sentPaths) {
    EXPECT_EQ(reason.find(DALVENOR_SOURCE_DIR), std::string::npos) << reason;
  }
  EXPECT_EQ(reason.find(".cpp"), std::string::npos) << reason;
}

class DalvenorServeTest : public ::testing::Test {
 protected:
  DalvenorServeTest()
      : server(kTool, {"--threads", "2", "--max-body-mb", "1"}),
        client("127.0.0.1", server.port()) {
    client.set_read_timeout(60, 0);
  }
  // Exit status 0 also says that no sanitizer found fault in the server.
  void TearDown() override { EXPECT_EQ(server.stop(), 0) << server.log(); }
  ServerProcess server;
  httplib::Client client;
};

TEST_F(DalvenorServeTest, PlanMemberIsThePlanSubcommandsOutputByteForByte) {
  const std::string expected = toolOutput({"plan", "--quiet", kMediumWave});
  httplib::Result result = post(client, "/v1/plan", readFile(kMediumWave));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->body.substr(0, 8), "{\"plan\":");
  EXPECT_EQ(result->body.substr(8, expected.size() - 1) + "\n", expected);
  EXPECT_EQ(result->body[8 + expected.size() - 1], ',');

  // The summary adds up to the totals.
  const json body = json::parse(result->body);
  long distance = 0, stops = 0;
  for (const json& cart : body["carts"]) {
    distance += cart["distance"].get<long>();
    stops += cart["stops"].get<long>();
  }
  EXPECT_EQ(body["totals"]["carts"], body["plan"].size());
  EXPECT_EQ(body["totals"]["distance"], distance);
  EXPECT_EQ(body["totals"]["stops"], stops);
  EXPECT_GT(distance, 0);
}

TEST_F(DalvenorServeTest, SettingsAreThoseOfThePlanSubcommand) {
  const std::string expected =
      toolOutput({"plan", "--quiet", kSmallWave, "--pack", "BP3D_OneBox",
                  "--route", "GreedyAlgorithm", "--effort", "3", "--box",
                  "30,30,40,4000,big", "--box", "20,20,20,900,small"});
  const json request = {
      {"wave", json::parse(readFile(kSmallWave))},
      {"settings",
       {{"pack", "bp3d_onebox"},
        {"route", 2},
        {"effort", 3},
        {"boxes", {"30,30,40,4000,big", "20,20,20,900,small"}}}}};
  httplib::Result result = post(client, "/v1/plan", request.dump());
  ASSERT_TRUE(result);
  ASSERT_EQ(result->status, 200) << result->body;
  EXPECT_EQ(json::parse(result->body)["plan"], json::parse(expected));
}

TEST_F(DalvenorServeTest, CompareAddsTheRecordedWalksAndTheSaving) {
  // "recorded         2         10804          5402"
  std::istringstream table(toolOutput({"compare", "--quiet", kSmallWave}));
  std::string line, label;
  int carts = 0, total = 0;
  while (std::getline(table, line)) {
    if (line.rfind("recorded", 0) == 0) {
      std::istringstream(line) >> label >> carts >> total;
    }
  }
  httplib::Result result = post(client, "/v1/compare", readFile(kSmallWave));
  ASSERT_TRUE(result);
  ASSERT_EQ(result->status, 200) << result->body;
  const json body = json::parse(result->body);
  EXPECT_EQ(body["recorded"]["carts"], carts);
  EXPECT_EQ(body["recorded"]["distance"], total);
  const double planned = body["totals"]["distance"].get<double>();
  EXPECT_NEAR(body["saving"].get<double>(), 100.0 * (total - planned) / total,
              0.05);
}

TEST_F(DalvenorServeTest, RouteDistanceAndLocateAgreeWithTheSubcommands) {
  const std::vector<std::string> stops = waveAddresses(kMediumWave, 20);
  std::vector<std::string> args = {"route", "--solver", "shortest"};
  args.insert(args.end(), stops.begin(), stops.end());
  std::istringstream printed(toolOutput(args));
  int length = 0;
  printed >> length;
  std::vector<std::string> order;
  for (std::string address; printed >> address;) order.push_back(address);

  httplib::Result route =
      post(client, "/v1/route",
           json({{"addresses", stops}, {"solver", "Shortest"}}).dump());
  ASSERT_TRUE(route);
  ASSERT_EQ(route->status, 200) << route->body;
  const json routed = json::parse(route->body);
  EXPECT_EQ(routed["length"], length);
  EXPECT_EQ(routed["order"], json(order));
  EXPECT_EQ(routed["optimal"], false);  // 20 places: local search

  const std::vector<std::string> few(stops.begin(), stops.begin() + 5);
  route = post(client, "/v1/route", json({{"addresses", few}}).dump());
  ASSERT_TRUE(route);
  EXPECT_EQ(route->status, 200);
  EXPECT_EQ(json::parse(route->body)["order"].size(), 5u);

  httplib::Result distance =
      client.Get("/v1/distance?from=G000502017&to=VCC0001005");
  ASSERT_TRUE(distance);
  EXPECT_EQ(json::parse(distance->body)["distance"], 376);

  httplib::Result located =
      client.Get("/v1/locate?address=G000502017&address=P000203045");
  ASSERT_TRUE(located);
  const json points = json::parse(located->body)["addresses"];
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0], json({{"address", "G000502017"},
                             {"sector", "G00"},
                             {"x", 312},
                             {"y", 186},
                             {"xIndex", 17},
                             {"yIndex", 5},
                             {"level", 2}}));
  EXPECT_EQ(points[1]["sector"], "P00");
}

TEST_F(DalvenorServeTest, ReportAnswersTheHtmlPageAndHealthIsOk) {
  httplib::Result page = post(client, "/v1/report", readFile(kSmallWave));
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(page->body.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page->body.find("<svg"), std::string::npos);

  httplib::Result health = client.Get("/health");
  ASSERT_TRUE(health);
  EXPECT_EQ(health->status, 200);
  EXPECT_EQ(json::parse(health->body)["status"], "ok");
}

TEST_F(DalvenorServeTest, BadRequestsGetTheirStatusAndReason) {
  expectError(post(client, "/v1/plan", "[{\"Customer\": 1,"), 400,
              "request body: no valid JSON");
  json wave = json::parse(readFile(kSmallWave));
  wave[1]["Qty"] = -3;
  expectError(post(client, "/v1/plan", wave.dump()), 400,
              "request row 2: \"Qty\" -3");
  expectError(post(client, "/v1/compare", "[{\"Customer\": 1}]"), 400,
              "request row 1: \"Product\": missing");
  const json badPack = {{"wave", json::array()}, {"settings", {{"pack", "x"}}}};
  expectError(post(client, "/v1/plan", badPack.dump()), 400,
              "request \"settings\": Invalid --pack \"x\"");
  const json badKey = {{"wave", json::array()}, {"settings", {{"efort", 1}}}};
  expectError(post(client, "/v1/plan", badKey.dump()), 400,
              "key \"efort\": unknown setting");
  for (const json& effort : {json(-1), json(1001), json("2"), json(1.5)}) {
    const json badEffort = {{"wave", json::array()},
                            {"settings", {{"effort", effort}}}};
    expectError(post(client, "/v1/plan", badEffort.dump()), 400,
                "\"effort\" " + effort.dump() +
                    ": expected a whole number from 0 to 1000");
  }
  expectError(post(client, "/v1/plan", "{\"rows\": []}"), 400,
              "expected a wave");
  expectError(
      post(client, "/v1/plan",
           "[" + std::string(200000, '[') + std::string(200000, ']') + "]"),
      400, "request row 1: not an object but an array nested more");
  expectError(post(client, "/v1/route", "{\"addresses\": [\"X12\"]}"), 400,
              "Invalid address \"X12\"");
  expectError(post(client, "/v1/route",
                   json({{"addresses", waveAddresses(kMediumWave, 10)},
                         {"solver", "brute"}})
                       .dump()),
              400, "--solver brute plans at most 9 addresses");
  expectError(client.Get("/v1/distance?from=G000502017"), 400,
              "query \"to\": missing");
  expectError(client.Get("/v1/locate"), 400, "query \"address\": missing");

  expectError(client.Get("/v1/nothing"), 404, "no such endpoint");
  httplib::Result wrongMethod = client.Get("/v1/plan");
  expectError(wrongMethod, 405, "use POST");
  EXPECT_EQ(wrongMethod->get_header_value("Allow"), "POST");
  expectError(client.Delete("/health"), 405, "use GET");

  // The server was started with --max-body-mb 1.
  expectError(post(client, "/v1/plan", std::string(1100 * 1024, ' ')), 413,
              "over the limit of 1 MB");
  EXPECT_EQ(json::parse(client.Get("/health")->body)["status"], "ok");

  // One log line per request: method, path, status, milliseconds.
  const std::string log = server.log();
  EXPECT_NE(log.find("POST /v1/plan 413 "), std::string::npos) << log;
  EXPECT_NE(log.find("GET /v1/nothing 404 "), std::string::npos) << log;
  EXPECT_NE(log.find("DELETE /health 405 "), std::string::npos) << log;
}

TEST_F(DalvenorServeTest, APathSentAsTheBodyIsRefusedAndNeverRead) {
  // A named pipe blocks whoever opens it for reading: a server that took
  // the body for a path would never answer.
  const std::filesystem::path fifo =
      std::filesystem::temp_directory_path() /
      ("dalvenor_serve_fifo_" + std::to_string(getpid()) + ".json");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  client.set_read_timeout(20, 0);
  for (const std::string& path : {fifo.string(), kSmallWave}) {
    for (const char* endpoint : {"/v1/plan", "/v1/compare", "/v1/report"}) {
      expectError(post(client, endpoint, path), 400,
                  "request body: no valid JSON");
      expectError(post(client, endpoint, json(path).dump()), 400,
                  "expected a wave", true);
    }
  }
  std::filesystem::remove(fifo);
}

TEST(DalvenorServeLimitsTest, BusyWorkersAndAFullQueueAnswer503) {
  ServerProcess server(kTool, {"--threads", "1", "--queue", "0"});
  httplib::Client client("127.0.0.1", server.port());
  {
    // Half a request holds the only worker.
    RawConnection holder(server.port());
    holder.send("GET /health HTTP/1.1\r\nHost: x\r\nConnection: close\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    expectError(client.Get("/health"), 503, "all workers are busy");
    holder.send("\r\n");
    EXPECT_NE(holder.receiveAll().find("200 OK"), std::string::npos);
  }
  // The worker is free again once it finished that request.
  int status = 0;
  for (int attempt = 0; attempt < 50 && status != 200; ++attempt) {
    if (httplib::Result health = client.Get("/health")) status = health->status;
    if (status != 200) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  EXPECT_EQ(status, 200);
  EXPECT_EQ(server.stop(), 0) << server.log();
  EXPECT_NE(server.log().find("GET /health 503 "), std::string::npos);
}

TEST(DalvenorServeLimitsTest, SigtermFinishesTheRequestInFlightAndExitsZero) {
  ServerProcess server(kTool, {"--threads", "2"});
  const std::string body =
      json({{"addresses", waveAddresses(kMediumWave, 12)}}).dump();
  RawConnection connection(server.port());
  connection.send(
      "POST /v1/route HTTP/1.1\r\nHost: x\r\n"
      "Content-Type: application/json\r\nConnection: close\r\n"
      "Content-Length: " +
      std::to_string(body.size()) + "\r\n\r\n" + body.substr(0, 10));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(server.pid(), SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  connection.send(body.substr(10));
  const std::string answer = connection.receiveAll();
  EXPECT_NE(answer.find("HTTP/1.1 200 OK"), std::string::npos) << answer;
  EXPECT_NE(answer.find("\"length\":"), std::string::npos) << answer;
  EXPECT_EQ(server.stop(), 0) << server.log();
  EXPECT_NE(server.log().find("POST /v1/route 200 "), std::string::npos);
  // Nothing listens any more.
  httplib::Client late("127.0.0.1", server.port());
  EXPECT_FALSE(late.Get("/health"));
}

}  // namespace
