// The search behind the ShortestWalk grouping. A change (swap two customers,
// move one) is first estimated over the stops the carts' routes visit,
// cheapest first; only a promising change is loaded by the real cart loading
// and, when both carts take their customers, routed by the route setting.

#include "grouping/shortest_walk.h"

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace walk_search {

namespace {

// Each customer is offered to the carts where its stops are cheapest to add.
constexpr int kTargetCarts = 4;
// A change is loaded and routed when its estimate loses at most this share
// of the two carts' walk (the estimate keeps the carts' old routes, so a
// real route is usually shorter).
constexpr double kEstimateSlack = 0.03;
// A change whose quick routes are longer than the carts' walk by more than
// this share is not routed in full.
constexpr double kQuickRouteSlack = 0.01;
// Rounds of the iterated search per unit of effort, at most: this many per
// cart, and never fewer than kMinRounds. A wave of a few carts has few
// changes to try, so its rounds soon repeat what was tried; the cap keeps
// such waves quick.
constexpr int kRoundsPerCart = 60;
constexpr int kMinRounds = 300;
// Changes the search estimates per unit of effort, its first local search
// included: the budget that usually ends the search. Waves whose rounds
// estimate many changes each (large carts) run fewer rounds; small waves,
// whose rounds are cheap, run more.
constexpr std::int64_t kMaxScreenedPerEffort = 480000;
// Swaps in the chain of one kick of the iterated search. One swap followed
// by local search costs about half of two, and the walk falls faster for the
// same time.
constexpr int kKickSwaps = 1;

// A number in 0 .. bound - 1 from the generator's next 32 bits; the same on
// every platform, unlike the standard distributions.
int below(std::mt19937& random, int bound) {
  return static_cast<int>(
      (std::uint64_t{random()} * static_cast<std::uint64_t>(bound)) >> 32);
}

// A candidate change: swap customers a and b, or (b < 0) move a to cart to.
struct Change {
  int a = 0;
  int b = -1;
  int to = 0;
  std::int64_t estimate = 0;  // estimated fall of the two carts' walk

  auto key() const { return std::tie(a, b, to); }
};

class Search {
 public:
  explicit Search(WalkPlan& plan)
      : plan_(plan),
        cartCount_(static_cast<int>(plan.carts().size())),
        random_(grouping_customers::kShortestWalkSeed) {}

  // Changes until none of the estimated ones shortens the walk; only
  // changes of customers on a cart marked in dirty are looked at (a swap
  // from a clean cart is found from its other customer).
  void localSearch(std::vector<bool> dirty);
  // Empties the cart with the fewest customers into the others when they
  // take its customers and the walk gets shorter; true when it did.
  bool emptySmallestCart();
  // One round of the iterated search: a kick, then local search around the
  // carts it touched; kept only when the whole walk got shorter.
  void iterate();

 private:
  WalkPlan& plan_;
  int cartCount_;
  std::vector<int> version_ = std::vector<int>(cartCount_, 0);
  std::map<int, WalkCart> undo_;  // carts as they were before the round
  std::mt19937 random_;

  bool active(int c) const {
    const WalkCart& held = plan_.carts()[c];
    return !held.frozen && !held.removed;
  }
  // Where the customer stands on its cart.
  std::size_t slotOf(int customer) const {
    const std::vector<int>& on =
        plan_.carts()[plan_.cartOf(customer)].customers;
    return static_cast<std::size_t>(std::find(on.begin(), on.end(), customer) -
                                    on.begin());
  }
  std::vector<int> targetsOf(int customer);
  std::vector<Change> candidates(const std::vector<bool>& dirty);
  std::int64_t estimate(const Change& change);
  // What adding the customer's stops to the cart's route costs, cached
  // until the cart changes.
  std::int64_t fullInsertion(int cart, int customer);
  // The estimated loss beyond which a change of the two carts is dropped.
  static std::int64_t threshold(const WalkCart& x, const WalkCart& y) {
    return static_cast<std::int64_t>(
        kEstimateSlack *
        static_cast<double>(std::int64_t{x.walk.length} + y.walk.length));
  }
  bool tryChange(const Change& change, bool onlyShorter);
  void apply(int c, Cart cart, std::vector<int> customers, CartWalk walk);
};

std::vector<int> Search::targetsOf(int customer) {
  std::vector<int> targets;
  const int own = plan_.cartOf(customer);
  for (int near : plan_.nearOf(customer)) {
    const int c = plan_.cartOf(near);
    if (c == own || !active(c) ||
        std::find(targets.begin(), targets.end(), c) != targets.end()) {
      continue;
    }
    targets.push_back(c);
    if (static_cast<int>(targets.size()) == kTargetCarts) break;
  }
  return targets;
}

std::int64_t Search::estimate(const Change& change) {
  ++plan_.effort().screened;
  const auto& carts = plan_.carts();
  const WalkCart& from = carts[plan_.cartOf(change.a)];
  const std::size_t slotA = slotOf(change.a);
  if (change.b < 0) {
    const std::int64_t added = fullInsertion(change.to, change.a);
    const std::int64_t left =
        from.customers.size() == 1 ? 0 : from.lengthWithout[slotA];
    return from.pathLength - left - added;
  }
  const int otherCart = plan_.cartOf(change.b);
  const WalkCart& other = carts[otherCart];
  const std::size_t slotB = slotOf(change.b);
  // First with each customer added to the other's whole route, cached per
  // cart version: most swaps fall short by far already there.
  const std::int64_t rough = from.pathLength - from.lengthWithout[slotA] -
                             fullInsertion(plan_.cartOf(change.a), change.b) +
                             other.pathLength - other.lengthWithout[slotB] -
                             fullInsertion(otherCart, change.a);
  if (rough <= -threshold(from, other)) return rough;
  std::vector<int> routeA = from.routeWithout[slotA];
  std::vector<int> routeB = other.routeWithout[slotB];
  const std::int64_t after =
      from.lengthWithout[slotA] + plan_.insertionCost(routeA, change.b) +
      other.lengthWithout[slotB] + plan_.insertionCost(routeB, change.a);
  return from.pathLength + other.pathLength - after;
}

std::int64_t Search::fullInsertion(int cart, int customer) {
  WalkCart& held = plan_.carts()[cart];
  auto [it, added] = held.insertion.try_emplace(customer, 0);
  if (added) {
    std::vector<int> route = held.walk.route;
    it->second = plan_.insertionCost(route, customer);
  }
  return it->second;
}

std::vector<Change> Search::candidates(const std::vector<bool>& dirty) {
  std::vector<Change> found;
  {
    Stopwatch watch(plan_.effort().screeningSeconds);
    for (int a = 0; a < plan_.customerCount(); ++a) {
      const int from = plan_.cartOf(a);
      if (!active(from) || !dirty[from]) continue;
      for (int to : targetsOf(a)) {
        found.push_back({a, -1, to, 0});
        for (int b : plan_.carts()[to].customers) {
          found.push_back({std::min(a, b), std::max(a, b), 0, 0});
        }
      }
    }
    std::sort(found.begin(), found.end(), [](const Change& x, const Change& y) {
      return x.key() < y.key();
    });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const Change& x, const Change& y) {
                              return x.key() == y.key();
                            }),
                found.end());
  }
  for (Change& change : found) {
    Stopwatch watch(plan_.effort().screeningSeconds);
    change.estimate = estimate(change);
  }
  std::stable_sort(
      found.begin(), found.end(),
      [](const Change& x, const Change& y) { return x.estimate > y.estimate; });
  return found;
}

void Search::apply(int c,
                   Cart cart,
                   std::vector<int> customers,
                   CartWalk walk) {
  undo_.try_emplace(c, plan_.carts()[c]);
  plan_.replace(c, std::move(cart), std::move(customers), std::move(walk));
  ++version_[c];
}

// Loads and routes the change; applies it when the real walk of the two
// carts falls (or always, for a kick). True when applied.
bool Search::tryChange(const Change& change, bool onlyShorter) {
  const int from = plan_.cartOf(change.a);
  const int to = change.b < 0 ? change.to : plan_.cartOf(change.b);
  std::vector<int> fromCustomers = plan_.carts()[from].customers;
  std::vector<int> toCustomers = plan_.carts()[to].customers;
  if (change.b < 0) {
    std::erase(fromCustomers, change.a);
    toCustomers.push_back(change.a);
  } else {
    std::replace(fromCustomers.begin(), fromCustomers.end(), change.a,
                 change.b);
    std::replace(toCustomers.begin(), toCustomers.end(), change.b, change.a);
  }
  if (!plan_.mayFit(toCustomers) || !plan_.mayFit(fromCustomers)) {
    ++plan_.effort().loadRefused;
    return false;
  }
  const std::int64_t before = std::int64_t{plan_.carts()[from].walk.length} +
                              plan_.carts()[to].walk.length;
  if (onlyShorter) {
    // Quick routes before any loading: a change they leave clearly longer
    // is dropped.
    const std::int64_t quick =
        std::int64_t{plan_.quickRoute(toCustomers, plan_.carts()[to].walk.route)
                         .length} +
        (fromCustomers.empty()
             ? 0
             : plan_.quickRoute(fromCustomers, plan_.carts()[from].walk.route)
                   .length);
    if (static_cast<double>(quick) >=
        static_cast<double>(before) * (1 + kQuickRouteSlack)) {
      ++plan_.effort().quickRefused;
      return false;
    }
  }
  std::optional<Cart> toCart = plan_.load(toCustomers);
  std::optional<Cart> fromCart;
  if (toCart && !fromCustomers.empty()) fromCart = plan_.load(fromCustomers);
  if (!toCart || (!fromCart && !fromCustomers.empty())) {
    ++plan_.effort().loadRefused;
    return false;
  }
  CartWalk toWalk = plan_.searchRoute(*toCart);
  CartWalk fromWalk = fromCart ? plan_.searchRoute(*fromCart) : CartWalk();
  if (onlyShorter && std::int64_t{fromWalk.length} + toWalk.length >= before) {
    return false;
  }
  if (onlyShorter) ++plan_.effort().accepted;
  apply(to, std::move(*toCart), std::move(toCustomers), std::move(toWalk));
  if (fromCart) {
    apply(from, std::move(*fromCart), std::move(fromCustomers),
          std::move(fromWalk));
  } else {
    undo_.try_emplace(from, plan_.carts()[from]);
    plan_.remove(from);
    ++version_[from];
  }
  return true;
}

void Search::localSearch(std::vector<bool> dirty) {
  while (std::find(dirty.begin(), dirty.end(), true) != dirty.end()) {
    std::vector<Change> found = candidates(dirty);
    std::vector<int> seen = version_;
    std::vector<bool> changed(static_cast<std::size_t>(cartCount_), false);
    for (Change& change : found) {
      const int from = plan_.cartOf(change.a);
      const int to = change.b < 0 ? change.to : plan_.cartOf(change.b);
      if (!active(from) || !active(to) || from == to) continue;
      if (version_[from] != seen[from] || version_[to] != seen[to]) {
        Stopwatch watch(plan_.effort().screeningSeconds);
        change.estimate = estimate(change);
      }
      if (change.estimate <=
          -threshold(plan_.carts()[from], plan_.carts()[to])) {
        if (version_[from] == seen[from] && version_[to] == seen[to]) break;
        continue;
      }
      if (!tryChange(change, true)) continue;
      changed[from] = changed[to] = true;
    }
    dirty = std::move(changed);
  }
}

bool Search::emptySmallestCart() {
  int smallest = -1;
  for (int c = 0; c < cartCount_; ++c) {
    if (active(c) &&
        (smallest < 0 || plan_.carts()[c].customers.size() <
                             plan_.carts()[smallest].customers.size())) {
      smallest = c;
    }
  }
  if (smallest < 0) return false;
  std::vector<int> leaving = plan_.carts()[smallest].customers;
  std::stable_sort(leaving.begin(), leaving.end(), [&](int x, int y) {
    return plan_.volumeOf(x) > plan_.volumeOf(y);
  });
  // The carts that take a customer, with their customers and loading.
  std::map<int, std::pair<std::vector<int>, Cart>> taking;
  for (int customer : leaving) {
    bool placed = false;
    for (int to : targetsOf(customer)) {
      auto it = taking.find(to);
      std::vector<int> customers =
          it != taking.end() ? it->second.first : plan_.carts()[to].customers;
      customers.push_back(customer);
      if (!plan_.mayFit(customers)) continue;
      if (std::optional<Cart> cart = plan_.load(customers)) {
        taking.insert_or_assign(
            to, std::pair(std::move(customers), std::move(*cart)));
        placed = true;
        break;
      }
    }
    if (!placed) return false;
  }
  std::int64_t before = plan_.carts()[smallest].walk.length;
  std::int64_t after = 0;
  std::map<int, CartWalk> walks;
  for (auto& [to, load] : taking) {
    before += plan_.carts()[to].walk.length;
    walks[to] = plan_.searchRoute(load.second);
    after += walks[to].length;
  }
  if (after >= before) return false;
  for (auto& [to, load] : taking) {
    apply(to, std::move(load.second), std::move(load.first),
          std::move(walks[to]));
  }
  undo_.try_emplace(smallest, plan_.carts()[smallest]);
  plan_.remove(smallest);
  ++version_[smallest];
  return true;
}

void Search::iterate() {
  undo_.clear();
  const std::int64_t before = plan_.totalLength();
  std::vector<int> live;
  for (int c = 0; c < cartCount_; ++c) {
    if (active(c)) live.push_back(c);
  }
  if (live.size() < 2) return;
  std::vector<bool> touched(static_cast<std::size_t>(cartCount_), false);
  int from = live[below(random_, static_cast<int>(live.size()))];
  for (int kick = 0; kick < kKickSwaps; ++kick) {
    const std::vector<int>& on = plan_.carts()[from].customers;
    const int a = on[below(random_, static_cast<int>(on.size()))];
    const std::vector<int> targets = targetsOf(a);
    if (targets.empty()) break;
    const int to = targets[below(random_, static_cast<int>(targets.size()))];
    const std::vector<int>& there = plan_.carts()[to].customers;
    const int b = there[below(random_, static_cast<int>(there.size()))];
    if (tryChange({a, b, 0, 0}, false)) {
      touched[from] = touched[to] = true;
    }
    from = to;
  }
  localSearch(touched);
  if (plan_.totalLength() < before) return;
  for (auto& [c, held] : undo_) {
    plan_.restore(c, std::move(held));
    ++version_[c];
  }
}

}  // namespace

}  // namespace walk_search

namespace grouping_customers {

std::list<Cart> shortestWalk(SolverConfiguration& solver,
                             CartConfiguration& cartConfig,
                             std::list<Cart> start,
                             Warehouse& warehouse,
                             ShortestWalkReport* report) {
  if (solver.effort < 0) {
    throw std::invalid_argument("shortestWalk: negative effort " +
                                std::to_string(solver.effort));
  }
  walk_search::WalkPlan plan(solver, cartConfig, std::move(start), warehouse);
  const std::int64_t startLength = plan.totalLength();
  const int startCarts = static_cast<int>(plan.carts().size());

  walk_search::Search search(plan);
  while (search.emptySmallestCart()) {
  }
  search.localSearch(std::vector<bool>(plan.carts().size(), true));
  int active = 0;
  for (const walk_search::WalkCart& held : plan.carts()) {
    active += !held.frozen && !held.removed;
  }
  // The round cap (kRoundsPerCart, kMinRounds), counted in 64 bits: a
  // library caller may ask for any effort.
  const std::int64_t rounds =
      std::int64_t{solver.effort} *
      std::max(walk_search::kRoundsPerCart * active, walk_search::kMinRounds);
  // The local search above counts against the budget: waves whose carts
  // are costly to search run fewer rounds.
  const std::int64_t maxScreened =
      std::int64_t{solver.effort} * walk_search::kMaxScreenedPerEffort;
  std::int64_t round = 0;
  for (; round < rounds && plan.effort().screened < maxScreened; ++round) {
    search.iterate();
  }
  plan.finishRoutes();

  std::list<Cart> carts;
  for (walk_search::WalkCart& held : plan.carts()) {
    if (!held.removed) carts.push_back(std::move(held.cart));
  }
  if (report != nullptr) {
    report->startLength = startLength;
    report->finalLength = plan.totalLength();
    report->startCarts = startCarts;
    report->finalCarts = static_cast<int>(carts.size());
    report->rounds = round;
    report->effort = plan.effort();
  }
  return carts;
}

}  // namespace grouping_customers
