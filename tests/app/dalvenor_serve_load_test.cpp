// A bounded load on dalvenor serve, on 127.0.0.1 only: 8 clients send 50
// requests each, mixing plans with one-dimensional and three-dimensional
// packing, routes, malformed and oversized bodies. Every answer must be the
// one expected, the server healthy afterwards and its memory flat.

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/process.h"
#include "app/server_process.h"

namespace {

using nlohmann::json;
using testing_support::ServerProcess;

const std::string kTool = DALVENOR_BINARY_DIR "/dalvenor";
const std::string kWave =
    DALVENOR_SOURCE_DIR "/data/data_both/wave1421886.json";

constexpr int kClients = 8;
constexpr int kRequestsPerClient = 50;
constexpr int kWarmUp = 50;  // requests before the first memory reading

// AddressSanitizer keeps freed blocks in quarantine (up to 256 MB), so a
// server built with it grows by design; memory is judged in the other builds.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kMemoryComparable = false;
#else
constexpr bool kMemoryComparable = true;
#endif

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// One kind of request with the status and body it must get.
struct Probe {
  std::string path;
  std::string body;
  int status;
  std::string expected;  // the whole "plan" or "length"; or part of the error
};

std::vector<Probe> probes() {
  const json wave = json::parse(readFile(kWave));
  auto plan = [](const std::vector<std::string>& options) {
    std::vector<std::string> args = {"plan", "--quiet", kWave};
    args.insert(args.end(), options.begin(), options.end());
    return json::parse(testing_support::runProgram(kTool, args).out).dump();
  };
  std::vector<std::string> stops;
  std::set<std::string> seen;
  for (const json& row : wave) {
    if (seen.insert(row["AddressCode"]).second)
      stops.push_back(row["AddressCode"]);
  }
  stops.resize(20);
  std::vector<std::string> routeArgs = {"route", "--solver", "shortest"};
  routeArgs.insert(routeArgs.end(), stops.begin(), stops.end());
  const std::string routed = testing_support::runProgram(kTool, routeArgs).out;
  return {
      {"/v1/plan", wave.dump(), 200, plan({})},
      {"/v1/plan",
       json({{"wave", wave}, {"settings", {{"pack", "BP3D_OneBox"}}}}).dump(),
       200, plan({"--pack", "BP3D_OneBox"})},
      {"/v1/route", json({{"addresses", stops}, {"solver", "shortest"}}).dump(),
       200, routed.substr(0, routed.find('\n'))},
      {"/v1/plan", "[{\"Customer\": 7,", 400, "no valid JSON"},
      {"/v1/plan", std::string(1100 * 1024, '['), 413, "over the limit"},
  };
}

// Whether the answer is the probe's; the reason when not.
std::string mismatch(const Probe& probe, const httplib::Result& result) {
  if (!result) return "no answer: " + httplib::to_string(result.error());
  if (result->status != probe.status) {
    return "status " + std::to_string(result->status) + ": " + result->body;
  }
  const json body = json::parse(result->body, nullptr, false);
  if (body.is_discarded()) return "no JSON: " + result->body;
  std::string got;
  if (probe.status != 200) {
    got = body.value("error", "");
    return got.find(probe.expected) != std::string::npos ? "" : got;
  }
  got = body.contains("plan") ? body["plan"].dump() : body["length"].dump();
  return got == probe.expected ? "" : probe.path + " gave " + got;
}

TEST(DalvenorServeLoadTest, EightClientsGetTheirAnswersAndMemoryStaysFlat) {
  const std::vector<Probe> kinds = probes();
  ServerProcess server(kTool, {"--threads", "4", "--max-body-mb", "1"});

  std::atomic<int> answered{0};
  std::atomic<long> warmRss{0};
  std::mutex failuresLock;
  std::vector<std::string> failures;
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      httplib::Client client("127.0.0.1", server.port());
      client.set_read_timeout(120, 0);
      for (int k = 0; k < kRequestsPerClient; ++k) {
        const Probe& probe = kinds[(c + k) % kinds.size()];
        const std::string wrong = mismatch(
            probe,
            client.Post(probe.path.c_str(), probe.body, "application/json"));
        if (!wrong.empty()) {
          const std::lock_guard<std::mutex> lock(failuresLock);
          failures.push_back(wrong.substr(0, 300));
        }
        if (++answered == kWarmUp) warmRss = server.residentKb();
      }
    });
  }
  for (std::thread& client : clients) client.join();
  const long finalRss = server.residentKb();

  EXPECT_EQ(answered.load(), kClients * kRequestsPerClient);
  EXPECT_TRUE(failures.empty())
      << failures.size() << " wrong answers, first: " << failures.front();
  httplib::Client client("127.0.0.1", server.port());
  httplib::Result health = client.Get("/health");
  ASSERT_TRUE(health);
  EXPECT_EQ(health->status, 200);
  ASSERT_GT(warmRss.load(), 0);
  if (kMemoryComparable) {
    EXPECT_LE(finalRss, warmRss.load() * 12 / 10)
        << "after " << kWarmUp << " requests: " << warmRss << " kB, after "
        << answered << ": " << finalRss << " kB";
  }
  EXPECT_EQ(server.stop(), 0) << server.log();
}

}  // namespace
