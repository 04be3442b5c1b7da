// The progress line of dalvenor's planning commands: one line on standard
// error, rewritten in place, shown only once a run has taken a second, and
// wiped when its step ends so that the lines printed after it start clean.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/dalvenor_cli.h"

namespace dalvenor_cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

struct LineState {
  Clock::time_point start = Clock::now();
  Clock::time_point drawn;
  std::string step;  // the step shown, empty when no line is shown
};

}  // namespace

std::string progressText(const std::string& step,
                         std::size_t done,
                         std::size_t total) {
  const char* what = step == "routing" ? " carts" : " customers";
  return step + ": " + std::to_string(done) + " of " + std::to_string(total) +
         what;
}

PlanningProgress terminalProgressLine() {
  auto state = std::make_shared<LineState>();
  return [state](const std::string& step, std::size_t done, std::size_t total) {
    const Clock::time_point now = Clock::now();
    if (done >= total) {
      if (!state->step.empty()) std::fputs("\r\033[K", stderr);
      state->step.clear();
      return;
    }
    if (now - state->start < kQuietStart) return;
    if (step == state->step && now - state->drawn < kRedrawEvery) return;
    std::fputs(("\r" + progressText(step, done, total) + "\033[K").c_str(),
               stderr);
    std::fflush(stderr);
    state->step = step;
    state->drawn = now;
  };
}

bool showsProgress(const CliArgs& args) {
  return !args.quiet && isatty(STDERR_FILENO) == 1;
}

}  // namespace dalvenor_cli
