#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "routing/tsp_solver.h"

// n! with a process-wide memo of every argument asked for so far, in the order
// first computed. The route search asks for the same n once per permutation,
// so all but the first call are answered from the memo.
//
// 12! is the largest factorial an int holds; a larger argument would overflow
// and is refused rather than answered with a wrapped value. The memo is
// shared by every thread and guarded by its own lock.
int factorial(int n) {
  static std::mutex memo_lock;
  static std::vector<std::pair<int, int>> prev_computed;
  const std::lock_guard<std::mutex> lock(memo_lock);
  for (const auto& [arg, value] : prev_computed) {
    if (arg == n) return value;
  }
  constexpr int largest_in_int = 12;
  if (n > largest_in_int) {
    throw std::invalid_argument("factorial: " + std::to_string(n) +
                                "! does not fit in int");
  }
  int result = 1;
  for (int k = 1; k <= n; ++k) result *= k;
  prev_computed.emplace_back(n, result);
  return result;
}
