// dalvenor serve: the planner as an HTTP service. A fixed number of workers
// answer the requests; connections beyond the workers wait in a bounded
// queue, and those beyond the queue are answered 503 by one more thread.
// SIGINT and SIGTERM stop accepting, let the requests in flight finish and
// end the program with status 0.

#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <iostream>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/dalvenor_cli.h"
#include "app/dalvenor_serve.h"

namespace dalvenor_cli {

namespace {

// Set on the thread that answers connections beyond the queue.
thread_local bool tl_refusing = false;
// When the request this thread answers came in.
thread_local std::chrono::steady_clock::time_point tl_started;

// Jobs run in the order given by `threads` workers. A job given while
// workers plus queue are all taken runs on the refusing thread instead,
// where the handlers answer 503.
class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(std::size_t threads, std::size_t queue)
      : capacity_(threads + queue) {
    for (std::size_t i = 0; i < threads; ++i) {
      workers_.emplace_back([this] { work(jobs_, false); });
    }
    workers_.emplace_back([this] { work(refused_, true); });
  }

  void enqueue(std::function<void()> job) override {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (taken_ < capacity_) {
        ++taken_;
        jobs_.push_back(std::move(job));
      } else {
        refused_.push_back(std::move(job));
      }
    }
    ready_.notify_all();
  }

  // Runs every job given so far, then ends the threads.
  void shutdown() override {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    ready_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

 private:
  void work(std::deque<std::function<void()>>& jobs, bool refusing) {
    tl_refusing = refusing;
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [&] { return !jobs.empty() || stopping_; });
        if (jobs.empty()) return;
        job = std::move(jobs.front());
        jobs.pop_front();
      }
      job();
      if (!refusing) {
        const std::lock_guard<std::mutex> lock(mutex_);
        --taken_;
      }
    }
  }

  const std::size_t capacity_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  std::deque<std::function<void()>> refused_;
  std::size_t taken_ = 0;  // jobs queued or running on a worker
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

// The HTTP library listens with a backlog of 5: beyond that many clients
// connecting at once, a client waits a second for its retried handshake.
// Linux takes another listen() on the bound socket as the new backlog.
class Server : public httplib::Server {
 public:
  void widenBacklog() { ::listen(svr_sock_, SOMAXCONN); }
};

void send(httplib::Response& res, const serve::Answer& answer) {
  res.status = answer.status;
  res.set_content(answer.body, answer.contentType.c_str());
}

// Runs an endpoint: 503 on the refusing thread, 400 with the reason for a
// refused request, 500 without detail for anything else (the detail goes to
// the log only, since it may name the server's files).
void answerWith(httplib::Response& res,
                const std::function<serve::Answer()>& endpoint) {
  if (tl_refusing) {
    send(res, serve::errorAnswer(
                  503, "all workers are busy and the queue is full; retry"));
    return;
  }
  try {
    send(res, endpoint());
  } catch (const std::invalid_argument& e) {
    send(res, serve::errorAnswer(400, e.what()));
  } catch (const std::exception& e) {
    std::cerr << "Error: " << e.what() << '\n';
    send(res, serve::errorAnswer(500, "internal error"));
  }
}

std::vector<std::string> queryValues(const httplib::Request& req,
                                     const char* key) {
  std::vector<std::string> values;
  auto [first, last] = req.params.equal_range(key);
  for (auto it = first; it != last; ++it) values.push_back(it->second);
  return values;
}

// Each path with its one method; the others are answered 405.
void addRoutes(httplib::Server& server) {
  using Endpoint = std::function<serve::Answer(const httplib::Request&)>;
  struct Route {
    const char* path;
    const char* method;
    Endpoint endpoint;
  };
  const std::vector<Route> routes = {
      {"/v1/plan", "POST",
       [](const httplib::Request& req) { return serve::planAnswer(req.body); }},
      {"/v1/compare", "POST",
       [](const httplib::Request& req) {
         return serve::compareAnswer(req.body);
       }},
      {"/v1/report", "POST",
       [](const httplib::Request& req) {
         return serve::reportAnswer(req.body);
       }},
      {"/v1/route", "POST",
       [](const httplib::Request& req) {
         return serve::routeAnswer(req.body);
       }},
      {"/v1/distance", "GET",
       [](const httplib::Request& req) {
         return serve::distanceAnswer(queryValues(req, "from"),
                                      queryValues(req, "to"));
       }},
      {"/v1/locate", "GET",
       [](const httplib::Request& req) {
         return serve::locateAnswer(queryValues(req, "address"));
       }},
      {"/health", "GET",
       [](const httplib::Request&) {
         return serve::Answer{200, "application/json", "{\"status\":\"ok\"}"};
       }},
  };
  using Register = httplib::Server& (
      httplib::Server::*)(const std::string&, httplib::Server::Handler);
  const std::pair<const char*, Register> methods[] = {
      {"GET", &httplib::Server::Get},
      {"POST", &httplib::Server::Post},
      {"PUT", &httplib::Server::Put},
      {"PATCH", &httplib::Server::Patch},
      {"DELETE", &httplib::Server::Delete},
      {"OPTIONS", &httplib::Server::Options},
  };
  for (const Route& route : routes) {
    for (const auto& [method, add] : methods) {
      const std::string name = method;
      const std::string allowed = route.method;
      Endpoint endpoint = route.endpoint;
      (server.*add)(
          route.path, [=](const httplib::Request& req, httplib::Response& res) {
            answerWith(res, [&] {
              if (name != allowed) {
                res.set_header("Allow", allowed);
                return serve::errorAnswer(
                    405, "method " + name + " not allowed; use " + allowed);
              }
              return endpoint(req);
            });
          });
    }
  }
}

// Bodies for what the HTTP library answers by itself (unknown path, a body
// over the limit, a request it cannot read).
httplib::Server::HandlerResponse answerError(const httplib::Request& req,
                                             httplib::Response& res,
                                             std::size_t maxBodyMb) {
  if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
  std::string reason = "bad request";
  if (res.status == 404) reason = "no such endpoint";
  if (res.status == 413) {
    // The HTTP library takes form bodies of at most 8 KB (curl -d sends
    // one unless told the type).
    reason = req.get_header_value("Content-Type") ==
                     "application/x-www-form-urlencoded"
                 ? "request body sent as a form, which is limited to 8 KB; "
                   "send it as application/json"
                 : "request body over the limit of " +
                       std::to_string(maxBodyMb) + " MB";
  }
  send(res, serve::errorAnswer(res.status, reason));
  return httplib::Server::HandlerResponse::Handled;
}

// One line per request on standard error: method, path, status, ms.
void logRequest(const httplib::Request& req, const httplib::Response& res) {
  static std::mutex lock;
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - tl_started);
  const std::string line = req.method + " " + req.path + " " +
                           std::to_string(res.status) + " " +
                           std::to_string(elapsed.count()) + " ms\n";
  const std::lock_guard<std::mutex> guard(lock);
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void runServe(const CliArgs& args, std::ostream& out) {
  // Signals are taken by one thread of ours; every thread started from here
  // on inherits the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  Server server;
  const std::size_t threads = static_cast<std::size_t>(args.serveThreads);
  const std::size_t queue = static_cast<std::size_t>(args.serveQueue);
  // The server takes the pool over and deletes it when it stops.
  server.new_task_queue = [threads, queue] {
    return new BoundedPool(threads, queue);
  };
  const std::size_t maxBodyMb = static_cast<std::size_t>(args.serveMaxBodyMb);
  server.set_payload_max_length(maxBodyMb * 1024 * 1024);
  server.set_pre_routing_handler(
      [](const httplib::Request&, httplib::Response&) {
        tl_started = std::chrono::steady_clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
      });
  server.set_error_handler(httplib::Server::HandlerWithResponse(
      [maxBodyMb](const httplib::Request& req, httplib::Response& res) {
        return answerError(req, res, maxBodyMb);
      }));
  server.set_logger(logRequest);
  addRoutes(server);

  int port = args.servePort;
  if (port == 0) {
    port = server.bind_to_any_port(args.serveHost);
    if (port < 0) port = 0;
  } else if (!server.bind_to_port(args.serveHost, port)) {
    port = 0;
  }
  if (port == 0) {
    throw std::runtime_error("cannot listen on " + args.serveHost + " port " +
                             std::to_string(args.servePort));
  }
  server.widenBacklog();
  out << "dalvenor serve: listening on http://" << args.serveHost << ':' << port
      << std::endl;

  std::thread stopper([&server, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  const bool listened = server.listen_after_bind();
  // Ends the stopper when the server stopped without a signal.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  if (!listened) throw std::runtime_error("the server stopped on an error");
  std::cerr << "dalvenor serve: stopped\n";
}

}  // namespace

Subcommand addServeCommand(CLI::App& app, CliArgs& args) {
  CLI::App* command = app.add_subcommand(
      "serve", "Answer planning requests over HTTP (JSON in, JSON out)");
  command->add_option("--host", args.serveHost, "Address to listen on")
      ->capture_default_str();
  command
      ->add_option("--port", args.servePort,
                   "Port to listen on; 0 picks a free one")
      ->check(CLI::Range(0, 65535))
      ->capture_default_str();
  command
      ->add_option("--threads", args.serveThreads, "Requests answered at once")
      ->check(CLI::Range(1, 256))
      ->capture_default_str();
  command
      ->add_option("--queue", args.serveQueue,
                   "Connections waiting for a worker before 503")
      ->check(CLI::Range(0, 100000))
      ->capture_default_str();
  command
      ->add_option("--max-body-mb", args.serveMaxBodyMb,
                   "Largest request body in MB; larger ones get 413")
      ->check(CLI::Range(1, 4096))
      ->capture_default_str();
  command->footer(
      "Endpoints: POST /v1/plan, /v1/compare, /v1/route, /v1/report;\n"
      "GET /v1/distance?from=A&to=B, /v1/locate?address=A, /health.\n"
      "Prints the address it listens on; one line per request on standard\n"
      "error (method, path, status, ms). SIGINT or SIGTERM stops it after\n"
      "the requests in flight.\n\n" +
      settingsHelp());
  return {command, runServe};
}

}  // namespace dalvenor_cli
