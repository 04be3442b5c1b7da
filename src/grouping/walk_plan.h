#pragma once

// Internal to the ShortestWalk grouping: a plan of carts as the search sees
// it. Every cart is held loaded (by the real cart loading) and routed (by the
// run's route setting), with the order of its stops for cheap estimates.
//
//   WalkPlan plan(solver, cartConfig, std::move(carts), warehouse);
//   std::optional<Cart> a = plan.load({3, 7, 9});   // whole customers
//   CartWalk walk = plan.route(*a);                  // exact route length

#include <chrono>
#include <cstdint>
#include <list>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

#include "geometry/warehouse.h"
#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/setup_configuration.h"
#include "routing/distance_matrix.h"

namespace walk_search {

// Where the search spends its time (read for reporting only; no decision
// depends on a clock) and how often each step ran (the iterated search's
// budget counts the changes screened).
struct WalkEffort {
  double screeningSeconds = 0;
  double loadingSeconds = 0;
  double routingSeconds = 0;
  std::int64_t screened = 0;      // candidate changes estimated
  std::int64_t loadChecks = 0;    // carts loaded to test a change
  std::int64_t widthRefused = 0;  // loadings refused on box widths alone
  std::int64_t routed = 0;        // carts routed by the route setting
  std::int64_t routesReused = 0;  // of those, found earlier for the same stops
  std::int64_t quickRouted = 0;   // quick routes of changes
  std::int64_t loadRefused = 0;   // changes the loading refused
  std::int64_t quickRefused = 0;  // changes the quick routes refused
  std::int64_t accepted = 0;      // changes that shortened the walk
};

// Adds the time since it was made to a total, for the effort report only:
// the search never reads it.
class Stopwatch {
 public:
  explicit Stopwatch(double& total)
      : total_(total), begin_(std::chrono::steady_clock::now()) {}
  ~Stopwatch() {
    total_ +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin_)
            .count();
  }
  Stopwatch(const Stopwatch&) = delete;
  Stopwatch& operator=(const Stopwatch&) = delete;

 private:
  double& total_;
  std::chrono::steady_clock::time_point begin_;
};

// A cart's route: its stops (wave point numbers) in visiting order and the
// length the route setting gives the cart, decimetres.
struct CartWalk {
  std::vector<int> route;
  int length = 0;
  // Found by the search's lighter route search (see WalkPlan::searchRoute):
  // never shorter than the run's route of the cart.
  bool light = false;
};

// One cart of the plan. Frozen carts hold a customer split over several
// carts; the search leaves them exactly as the grouping built them.
struct WalkCart {
  Cart cart;
  std::vector<int> customers;  // whole customers, indices, in loading order
  CartWalk walk;
  // For estimates: the route's length over the wave's legs, and per
  // customer (in the order of customers) the route without the stops only
  // that customer has, with its length.
  std::int64_t pathLength = 0;
  std::vector<std::vector<int>> routeWithout;
  std::vector<std::int64_t> lengthWithout;
  // What adding a customer's stops to the route costs, by customer, as far
  // as the search asked (an undo brings them back with the cart).
  std::unordered_map<int, std::int64_t> insertion;
  bool frozen = false;
  bool removed = false;  // emptied into other carts; not in the plan
};

class WalkPlan {
 public:
  // Takes the grouping's carts (unrouted); routes each once.
  WalkPlan(SolverConfiguration& solver,
           CartConfiguration& cartConfig,
           std::list<Cart> carts,
           Warehouse& warehouse);

  std::vector<WalkCart>& carts() { return carts_; }
  const std::vector<WalkCart>& carts() const { return carts_; }
  int customerCount() const { return static_cast<int>(customers_.size()); }
  // The cart a whole customer is on.
  int cartOf(int customer) const { return cartOf_[customer]; }
  // A whole customer's distinct wave points, ascending.
  const std::vector<int>& stopsOf(int customer) const {
    return stopsOf_[customer];
  }
  float volumeOf(int customer) const {
    return customers_[customer].getTotalVolume();
  }
  // The customers whose stops lie nearest the customer's, nearest first.
  const std::vector<int>& nearOf(int customer) const {
    return nearOf_[customer];
  }
  std::int64_t totalLength() const;
  WalkEffort& effort() { return effort_; }

  // False when no loading can take the customers (a quick, sound
  // rejection): their boxes are wider than all shelves together, or the
  // shelf loading followed on box widths fails in both orders load() tries.
  // The first single-unit customer on a cart always opens a shared box of
  // its own.
  bool mayFit(std::span<const int> customers) const;
  // A fresh cart with the customers loaded by the real cart loading, in the
  // given order, else largest first; nullopt when neither order fits them
  // all whole.
  std::optional<Cart> load(std::span<const int> customers);
  // Routes the cart by the run's route setting.
  CartWalk route(const Cart& cart);
  // Routes the cart for the search. With ShortestRoute the search runs
  // fewer rounds than the run's (the same seed, so that its route is one
  // the run's search passes through: never shorter than route(cart)); any
  // other setting routes as route(cart) does.
  CartWalk searchRoute(const Cart& cart);
  // Routes every cart whose walk came from the lighter search by the run's
  // route setting; the whole length can only fall.
  void finishRoutes();
  // A quick route for screening a change, before any loading: the hint (an
  // old route) kept to the customers' stops, the missing stops inserted
  // where cheapest, then 2-opt and Or-opt to their first local optimum. Its
  // length counts one leg into each stop.
  CartWalk quickRoute(std::span<const int> customers,
                      std::span<const int> hint);
  // Replaces cart c by a loaded cart holding the given customers.
  void replace(int c, Cart cart, std::vector<int> customers, CartWalk walk);
  // Takes cart c, whose customers have all gone elsewhere, out of the plan.
  void remove(int c);
  // Puts a cart back as it was (the search's undo).
  void restore(int c, WalkCart cart);

  // Estimates, over the legs between wave points (screening only):
  // the length of start, the route, end;
  std::int64_t pathLength(std::span<const int> route) const;
  // what inserting the customer's missing stops, one by one at their
  // cheapest place, adds to the route (the route grows in place).
  std::int64_t insertionCost(std::vector<int>& route, int customer) const;
  // Inserts the point where it adds least to the route; returns what it adds.
  std::int64_t insertCheapest(std::vector<int>& route, int point) const;

 private:
  SolverConfiguration& solver_;
  CartConfiguration& cartConfig_;
  Warehouse& warehouse_;
  std::vector<Customer> customers_;  // the whole customers
  std::vector<std::vector<int>> stopsOf_;
  std::vector<int> cartOf_;
  std::vector<std::vector<int>> nearOf_;
  // Width the customer's boxes take on the shelves at least (0 for a single
  // unit, which may join a shared box), and the shelves' width together.
  std::vector<float> widthOf_;
  std::vector<bool> singleUnit_;
  float shelfWidth_ = 0;
  // Each customer's box widths in the order the shelf loading takes them,
  // and the empty cart's shelves.
  std::vector<std::vector<float>> boxWidths_;
  // A single-unit customer's product, the unit's volume and the free
  // capacity of the box it comes in (zeros for other customers).
  struct SingleUnit {
    int product = 0;
    float volume = 0;
    float boxFree = 0;
  };
  std::vector<SingleUnit> units_;
  std::vector<CartShelf> emptyShelves_;
  // Customer sequences the loading refused, so none is loaded twice.
  std::set<std::vector<int>> refused_;
  std::vector<WalkCart> carts_;
  // Wave point numbers by parsed address (copies of a line share one).
  std::unordered_map<const WAddress*, int> pointOfAddress_;
  std::optional<DistanceMatrix> legs_;  // over every point of the wave
  // Shortest routes found, by the rounds per stop followed by the cart's
  // stops in pick-list order (the solver's answer depends on nothing else).
  struct StopsHash {
    std::size_t operator()(const std::vector<int>& key) const;
  };
  std::unordered_map<std::vector<int>, std::vector<int>, StopsHash> routes_;
  bool symmetric_ = false;  // every leg as long as its way back
  WalkEffort effort_;

  int pointOf(const OItem& line) const;
  // The customers by volume, largest first (stable).
  std::vector<int> largestFirst(std::span<const int> customers) const;
  // False when loading the customers in this order onto an empty cart
  // surely fails: the loading is followed on box widths, and for single
  // units on the shared boxes' products and free capacity.
  bool widthsMayLoad(std::span<const int> order) const;
  // The cart's distinct points in the order of its pick list, with the
  // number of lines picked at each.
  void stopsOf(const Cart& cart,
               std::vector<int>& stops,
               std::vector<int>& linesAt) const;
  // The cart routed by the route setting, with rounds per stop for
  // ShortestRoute.
  CartWalk route(const Cart& cart, int roundsPerStop);
  // Start, the route, end, with a leg per line as the planning run counts.
  int lengthOf(std::span<const int> route,
               std::span<const int> stops,
               std::span<const int> linesAt) const;
  // Fills the cart's estimate caches from its route.
  void prepare(WalkCart& held) const;
  void findNearCustomers();
  bool legsSymmetric() const;
  // The route's legs from start to end, one more than its points.
  std::vector<int> edgesOf(std::span<const int> route) const;
  // insertCheapest that keeps the route's legs up to date.
  std::int64_t insertCheapest(std::vector<int>& route,
                              std::vector<int>& edges,
                              int point) const;
};

}  // namespace walk_search
