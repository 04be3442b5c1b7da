#include "routing/greedy_edges.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace routing_detail {

namespace {

// Union-find over route points with component sizes. Two points in one
// component are the two ends of one chain of accepted legs, so a leg between
// them closes a loop through exactly the component's points.
class PointSets {
 public:
  explicit PointSets(int count) : parent_(count), size_(count, 1) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }

  int find(int p) {
    while (parent_[p] != p) {
      parent_[p] = parent_[parent_[p]];
      p = parent_[p];
    }
    return p;
  }

  int sizeOf(int root) const { return size_[root]; }

  void unite(int p, int q) {
    int rp = find(p);
    int rq = find(q);
    if (rp == rq) return;
    if (size_[rp] < size_[rq]) std::swap(rp, rq);
    parent_[rq] = rp;
    size_[rp] += size_[rq];
  }

 private:
  std::vector<int> parent_;
  std::vector<int> size_;
};

}  // namespace

// Leg counts per point and union-find components decide acceptance exactly
// as re-walking the accepted legs for loops after each one would.
std::vector<Candidate> greedyEdgePath(int pointCount,
                                      std::vector<Candidate> candidates) {
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& l, const Candidate& r) {
                     return l.length < r.length;
                   });

  // The start-to-end leg is in the tour from the outset.
  std::vector<int> legs(pointCount, 0);
  legs[0] = legs[1] = 1;
  PointSets sets(pointCount);
  sets.unite(0, 1);

  // Accepted legs other than the fixed start-to-end one, per point.
  std::vector<std::vector<std::size_t>> legsAt(pointCount);
  std::vector<Candidate> accepted;
  accepted.reserve(static_cast<std::size_t>(pointCount));
  for (const Candidate& c : candidates) {
    if (legs[c.a] >= 2 || legs[c.b] >= 2) continue;
    const int root = sets.find(c.a);
    if (root == sets.find(c.b) && sets.sizeOf(root) != pointCount) continue;
    ++legs[c.a];
    ++legs[c.b];
    sets.unite(c.a, c.b);
    legsAt[c.a].push_back(accepted.size());
    legsAt[c.b].push_back(accepted.size());
    accepted.push_back(c);
  }

  // Walk the path from the start, turning each leg the way it is walked.
  std::vector<bool> walked(accepted.size(), false);
  std::vector<Candidate> path;
  path.reserve(accepted.size());
  int here = 0;
  for (std::size_t step = 0; step < accepted.size(); ++step) {
    const auto& atHere = legsAt[here];
    const auto leg = std::find_if(atHere.begin(), atHere.end(),
                                  [&](std::size_t e) { return !walked[e]; });
    if (leg == atHere.end()) {
      throw std::logic_error(
          "greedyAlgorithm: the accepted legs do not form "
          "one path from start to end");
    }
    walked[*leg] = true;
    Candidate c = accepted[*leg];
    if (c.a != here) std::swap(c.a, c.b);
    path.push_back(c);
    here = c.b;
  }
  return path;
}

}  // namespace routing_detail
