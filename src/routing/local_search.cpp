// The iterated local search: 2-opt and Or-opt moves around a few nearby
// points at a time, and double-bridge kicks between rounds.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "routing/path_state.h"
#include "routing/route_moves.h"
#include "routing/route_search_detail.h"

namespace route_search::detail {

namespace {

// Moves are only tried towards a point's nearest points.
constexpr int kNeighbours = 8;
// The longest stretch a kick moves.
constexpr int kLongestKickStretch = 30;

// A number in 0 .. bound - 1 from the generator's next 32 bits; the same on
// every platform, unlike the standard distributions.
int below(std::mt19937& random, int bound) {
  return static_cast<int>(
      (std::uint64_t{random()} * static_cast<std::uint64_t>(bound)) >> 32);
}

// A move found around a point, the best so far.
struct BestMove {
  Length gain = 0;
  bool isOrOpt = false;
  TwoOptMove twoOpt;
  OrOptMove orOpt;

  template <typename Move>
  void offer(const PathState& path, const Move& move) {
    if (!move.isValid(path)) return;
    const Length g = move.gain(path);
    if (g <= gain) return;
    gain = g;
    if constexpr (std::is_same_v<Move, OrOptMove>) {
      isOrOpt = true;
      orOpt = move;
    } else {
      isOrOpt = false;
      twoOpt = move;
    }
  }
};

// Local search with neighbour lists and a queue of points to look at (a
// point leaves the queue when no move around it gains, and comes back when
// a move changes one of its legs).
class LocalSearch {
 public:
  explicit LocalSearch(const DistanceMatrix& legs)
      : points_(legs.pointCount() + 2),
        width_(std::min(kNeighbours, points_ - 1)),
        neighbours_(static_cast<std::size_t>(points_) * width_),
        gaps_(neighbours_.size()),
        queued_(static_cast<std::size_t>(points_), false) {
    std::vector<int> others;
    for (int p = 0; p < points_; ++p) {
      others.clear();
      for (int q = 0; q < points_; ++q) {
        if (q != p) others.push_back(q);
      }
      auto nearer = [&](int q, int r) {
        const int dq = std::min(legs.leg(p, q), legs.leg(q, p));
        const int dr = std::min(legs.leg(p, r), legs.leg(r, p));
        return dq != dr ? dq < dr : q < r;
      };
      std::partial_sort(others.begin(), others.begin() + width_, others.end(),
                        nearer);
      for (int k = 0; k < width_; ++k) {
        const int q = others[k];
        neighbours_[static_cast<std::size_t>(p) * width_ + k] = q;
        gaps_[static_cast<std::size_t>(p) * width_ + k] =
            std::min(legs.leg(p, q), legs.leg(q, p));
      }
    }
  }

  // Applies the best gaining move around each queued point until none gains.
  void improve(PathState& path, std::span<const int> active) {
    for (int point : active) enqueue(point);
    while (head_ < queue_.size()) {
      const int point = queue_[head_++];
      queued_[point] = false;
      const BestMove best = bestMoveAround(path, point);
      if (best.gain <= 0) continue;
      if (best.isOrOpt) {
        for (int p : best.orOpt.ends(path)) enqueue(p);
        best.orOpt.apply(path);
      } else {
        for (int p : best.twoOpt.ends(path)) enqueue(p);
        best.twoOpt.apply(path);
      }
    }
    queue_.clear();
    head_ = 0;
  }

 private:
  void enqueue(int point) {
    if (queued_[point]) return;
    queued_[point] = true;
    queue_.push_back(point);
  }

  // Moves that give the point u a leg to or from one of its neighbours v,
  // screened by the gain criterion: a move is only looked at when its new
  // leg at u is shorter than the leg of u it removes. Neighbours come
  // nearest first, so once the nearer way to v is no shorter than both of
  // u's legs, no later neighbour passes either.
  BestMove bestMoveAround(const PathState& path, int u) const {
    BestMove best;
    const int n = path.stopCount();
    const int pu = path.positionOf(u);
    const int in = pu > 0 ? path.leg(path.at(pu - 1), u) : 0;
    const int out = pu <= n ? path.leg(u, path.at(pu + 1)) : 0;
    const int longer = std::max(in, out);
    for (int k = 0; k < width_; ++k) {
      const std::size_t at = static_cast<std::size_t>(u) * width_ + k;
      if (gaps_[at] >= longer) break;
      const int v = neighbours_[at];
      const int pv = path.positionOf(v);
      const int toV = path.leg(u, v);
      const int fromV = path.leg(v, u);
      // 2-opt: u then v, or u turned round to stand just before v (and the
      // same with v before u).
      if (pv > pu) {
        if (toV < out) best.offer(path, TwoOptMove{pu + 1, pv});
        if (toV < in) best.offer(path, TwoOptMove{pu, pv - 1});
      } else {
        if (fromV < in) best.offer(path, TwoOptMove{pv, pu - 1});
        if (fromV < out) best.offer(path, TwoOptMove{pv + 1, pu});
      }
      // Or-opt: u alone, or a stretch of up to 3 stops beginning or ending
      // at u, put next to v and turned so that u stands beside v.
      if (fromV < longer) best.offer(path, OrOptMove{pu, pu, pv, false});
      if (toV < longer) best.offer(path, OrOptMove{pu, pu, pv - 1, false});
      for (int extra = 1; extra < OrOptMove::kLongest; ++extra) {
        if (fromV < in) best.offer(path, OrOptMove{pu, pu + extra, pv, false});
        if (toV < in) best.offer(path, OrOptMove{pu, pu + extra, pv - 1, true});
        if (fromV < out) best.offer(path, OrOptMove{pu - extra, pu, pv, true});
        if (toV < out) {
          best.offer(path, OrOptMove{pu - extra, pu, pv - 1, false});
        }
      }
    }
    return best;
  }

  int points_;
  int width_;
  std::vector<int> neighbours_;  // width_ per point, nearest first
  std::vector<int> gaps_;        // the shorter way to each neighbour
  std::vector<bool> queued_;
  std::vector<int> queue_;
  std::size_t head_ = 0;
};

// Double bridge: two neighbouring stretches of up to kLongestKickStretch
// stops swap places, which no single 2-opt or Or-opt move undoes. Returns
// the points whose legs changed.
std::array<int, 6> kick(PathState& path, std::mt19937& random) {
  const int n = path.stopCount();
  const int longest = std::min(kLongestKickStretch, n / 2);
  const int one = 1 + below(random, longest);
  const int two = 1 + below(random, longest);
  const int first = 1 + below(random, n - one - two + 1);
  const int middle = first + one;
  const int last = middle + two;
  const std::array<int, 6> ends = {path.at(first - 1),  path.at(first),
                                   path.at(middle - 1), path.at(middle),
                                   path.at(last - 1),   path.at(last)};
  path.swapStretches(first, middle, last);
  return ends;
}

}  // namespace

std::vector<int> iteratedLocalSearch(const DistanceMatrix& legs,
                                     std::vector<int> order,
                                     const SearchSettings& settings) {
  LocalSearch search(legs);
  PathState current(legs, order);
  std::vector<int> all(static_cast<std::size_t>(legs.pointCount()) + 2);
  for (int p = 0; p < static_cast<int>(all.size()); ++p) all[p] = p;
  search.improve(current, all);
  if (current.stopCount() < 3) return current.stops();

  std::mt19937 random(settings.seed);
  PathState trial = current;
  const std::int64_t rounds =
      std::int64_t{settings.iterationsPerStop} * current.stopCount();
  for (std::int64_t round = 0; round < rounds; ++round) {
    trial = current;  // same sizes: copies without allocating
    const std::array<int, 6> ends = kick(trial, random);
    search.improve(trial, ends);
    if (trial.length() <= current.length()) std::swap(current, trial);
  }
  return current.stops();
}

}  // namespace route_search::detail
