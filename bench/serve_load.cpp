// A small load client for dalvenor serve: N clients, each sending the same
// request M times, one connection per request, to 127.0.0.1. Prints the
// requests per second over the whole run, the 50th and 99th percentile and
// the largest latency in milliseconds; exits 1 when any answer is not 200.
//
//   serve_load PORT METHOD PATH BODY_FILE CLIENTS REQUESTS_PER_CLIENT
//   (BODY_FILE "-" for none)

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr,
                 "usage: serve_load PORT METHOD PATH BODY_FILE CLIENTS "
                 "REQUESTS_PER_CLIENT\n");
    return 2;
  }
  const int port = std::stoi(argv[1]);
  const std::string method = argv[2];
  const std::string path = argv[3];
  std::string body;
  if (std::string(argv[4]) != "-") {
    std::ifstream in(argv[4]);
    body.assign(std::istreambuf_iterator<char>(in), {});
  }
  const int clients = std::stoi(argv[5]);
  const int requests = std::stoi(argv[6]);

  using Clock = std::chrono::steady_clock;
  std::vector<double> latencies;  // ms
  std::mutex lock;
  std::atomic<int> failed{0};
  const Clock::time_point start = Clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&] {
      httplib::Client client("127.0.0.1", port);
      client.set_read_timeout(300, 0);
      std::vector<double> mine;
      for (int k = 0; k < requests; ++k) {
        const Clock::time_point sent = Clock::now();
        httplib::Result result =
            method == "GET"
                ? client.Get(path.c_str())
                : client.Post(path.c_str(), body, "application/json");
        mine.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - sent)
                .count());
        if (!result || result->status != 200) ++failed;
      }
      const std::lock_guard<std::mutex> guard(lock);
      latencies.insert(latencies.end(), mine.begin(), mine.end());
    });
  }
  for (std::thread& thread : threads) thread.join();
  const double seconds =
      std::chrono::duration<double>(Clock::now() - start).count();

  std::sort(latencies.begin(), latencies.end());
  auto percentile = [&](double p) {
    const std::size_t index = static_cast<std::size_t>(
        p / 100.0 * static_cast<double>(latencies.size() - 1) + 0.5);
    return latencies[index];
  };
  std::printf(
      "%s %s clients %d requests %zu: %.1f req/s, p50 %.2f ms, "
      "p99 %.2f ms, max %.2f ms, failed %d\n",
      method.c_str(), path.c_str(), clients, latencies.size(),
      static_cast<double>(latencies.size()) / seconds, percentile(50),
      percentile(99), latencies.back(), failed.load());
  return failed == 0 ? 0 : 1;
}
