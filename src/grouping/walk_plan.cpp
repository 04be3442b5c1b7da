#include "grouping/walk_plan.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "geometry/route_ends.h"
#include "packing/bin_packing_solver.h"
#include "routing/route_dispatch.h"
#include "routing/route_length.h"
#include "routing/route_search.h"
#include "routing/route_search_detail.h"

namespace walk_search {

namespace {

// What the distance oracle reads of a point: lines whose locations agree in
// all of it are picked at one stop.
using PointKey = std::tuple<std::string, int, int, int, int>;

PointKey keyOf(const SECTOR_ADDR_T& p) {
  return {p.sector, p.x, p.y, p.xIndex, p.yIndex};
}

// Customers each customer keeps as its nearest, for choosing target carts.
constexpr std::size_t kNearCustomers = 12;
// Rounds per stop of the shortest-route search while the search compares
// changes (a prefix of the run's rounds); the final carts get the run's full
// search.
constexpr int kSearchRoundsPerStop = 1;

bool contains(std::span<const int> values, int value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

WalkPlan::WalkPlan(SolverConfiguration& solver,
                   CartConfiguration& cartConfig,
                   std::list<Cart> carts,
                   Warehouse& warehouse)
    : solver_(solver), cartConfig_(cartConfig), warehouse_(warehouse) {
  // A customer listed on more than one cart, or twice on one, was split by
  // the loading; its carts stay as they are.
  std::map<int, int> listings;
  for (const Cart& cart : carts) {
    for (const Customer& customer : cart.customers) {
      ++listings[customer.customerID];
    }
  }

  std::vector<SECTOR_ADDR_T> points;
  std::map<PointKey, int> pointOfKey;
  auto addPoint = [&](const OItem& line) {
    if (pointOfAddress_.count(line.wAddress.get())) return;
    const SECTOR_ADDR_T& location = line.location();
    const auto [it, added] = pointOfKey.try_emplace(
        keyOf(location), static_cast<int>(points.size()));
    if (added) points.push_back(location);
    pointOfAddress_.emplace(line.wAddress.get(), it->second);
  };

  for (Cart& cart : carts) {
    WalkCart held;
    for (const Customer& customer : cart.customers) {
      held.frozen = held.frozen || listings[customer.customerID] > 1;
      for (const OItem& line : customer.oItems) addPoint(line);
    }
    for (const CartOItem& line : cart.cartOItems) addPoint(line.oItem);
    if (!held.frozen) {
      for (const Customer& customer : cart.customers) {
        held.customers.push_back(static_cast<int>(customers_.size()));
        cartOf_.push_back(static_cast<int>(carts_.size()));
        customers_.push_back(customer);
      }
    }
    held.cart = std::move(cart);
    carts_.push_back(std::move(held));
  }
  legs_.emplace(points, routeStart(), routeEnd());
  symmetric_ = legsSymmetric();

  for (const Customer& customer : customers_) {
    std::vector<int> stops;
    for (const OItem& line : customer.oItems) stops.push_back(pointOf(line));
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    stopsOf_.push_back(std::move(stops));
    float width = 0;
    for (const Box& box : customer.boxesDecomp) width += box.width;
    widthOf_.push_back(width);
    singleUnit_.push_back(isSingleUnit(customer.boxesDecomp));
    boxWidths_.push_back(bp_solver::widthsInLoadingOrder(customer.boxesDecomp));
    SingleUnit unit;
    if (singleUnit_.back()) {
      const Box& box = customer.boxesDecomp[0];
      const BoxItem& piece = box.itemsInTheBox.begin()->second;
      unit = {piece.oItem.productID, piece.itemSpecification.volume,
              box.getFreeCapacity()};
    }
    units_.push_back(unit);
  }
  emptyShelves_ = cartConfig_.getCartPattern().cartShelves;
  for (const CartShelf& shelf : emptyShelves_) {
    shelfWidth_ += shelf.getFreeWidth();
  }
  findNearCustomers();
  for (WalkCart& held : carts_) {
    held.walk = route(held.cart);
    prepare(held);
  }
}

void WalkPlan::findNearCustomers() {
  // How far, on average, a stop of one customer lies from the nearest stop
  // of the other.
  const int n = customerCount();
  nearOf_.assign(static_cast<std::size_t>(n), {});
  std::vector<std::pair<double, int>> ranked;
  for (int c = 0; c < n; ++c) {
    ranked.clear();
    for (int other = 0; other < n; ++other) {
      if (other == c || stopsOf_[c].empty() || stopsOf_[other].empty()) {
        continue;
      }
      std::int64_t sum = 0;
      for (int s : stopsOf_[c]) {
        int nearest = legs_->leg(s, stopsOf_[other].front());
        for (int t : stopsOf_[other])
          nearest = std::min(nearest, legs_->leg(s, t));
        sum += nearest;
      }
      ranked.emplace_back(
          static_cast<double>(sum) / static_cast<double>(stopsOf_[c].size()),
          other);
    }
    const std::size_t kept = std::min(kNearCustomers, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + kept, ranked.end());
    for (std::size_t i = 0; i < kept; ++i) {
      nearOf_[c].push_back(ranked[i].second);
    }
  }
}

void WalkPlan::prepare(WalkCart& held) const {
  held.pathLength = pathLength(held.walk.route);
  held.insertion.clear();
  held.routeWithout.clear();
  held.lengthWithout.clear();
  for (int customer : held.customers) {
    std::vector<int> kept;
    kept.reserve(held.walk.route.size());
    for (int point : held.walk.route) {
      bool shared = !std::binary_search(stopsOf_[customer].begin(),
                                        stopsOf_[customer].end(), point);
      for (int other : held.customers) {
        if (shared) break;
        shared = other != customer &&
                 std::binary_search(stopsOf_[other].begin(),
                                    stopsOf_[other].end(), point);
      }
      if (shared) kept.push_back(point);
    }
    held.lengthWithout.push_back(pathLength(kept));
    held.routeWithout.push_back(std::move(kept));
  }
}

bool WalkPlan::mayFit(std::span<const int> customers) const {
  float width = 0;
  std::optional<float> sharedBox;
  for (int c : customers) {
    if (!singleUnit_[c]) {
      width += widthOf_[c];
    } else if (!sharedBox || widthOf_[c] < *sharedBox) {
      sharedBox = widthOf_[c];
    }
  }
  if (width + sharedBox.value_or(0.0f) > shelfWidth_) return false;
  if (widthsMayLoad(customers)) return true;
  return widthsMayLoad(largestFirst(customers));
}

std::vector<int> WalkPlan::largestFirst(std::span<const int> customers) const {
  std::vector<int> order(customers.begin(), customers.end());
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return volumeOf(a) > volumeOf(b); });
  return order;
}

bool WalkPlan::widthsMayLoad(std::span<const int> order) const {
  // A cart has a few shelves: their used widths fit on the stack.
  constexpr std::size_t kOnStack = 16;
  const std::size_t shelves = emptyShelves_.size();
  if (shelves > kOnStack) return true;
  float used[kOnStack];
  for (std::size_t i = 0; i < shelves; ++i) {
    used[i] = emptyShelves_[i].usedWidth;
    if (!emptyShelves_[i].getBoxes().oneItemized.empty()) return true;
  }
  // The shared boxes opened so far, by shelf in the order they were put
  // there: the products they hold and their free capacity. The loading
  // offers a single unit to them first, by volume (a three-dimensional fit
  // is not followed: the rest of the order is then left to the loading).
  struct SharedBox {
    std::size_t shelf;
    std::vector<int> products;
    float freeCapacity;
  };
  std::vector<SharedBox> shared;
  const bool use3D = is3DAlgorithm(solver_.getBPAlgorithm());
  for (int c : order) {
    if (singleUnit_[c]) {
      const SingleUnit& unit = units_[c];
      if (use3D && !shared.empty()) return true;
      SharedBox* joined = nullptr;
      for (std::size_t shelf = 0; shelf < shelves && joined == nullptr;
           ++shelf) {
        for (SharedBox& box : shared) {
          if (box.shelf != shelf || contains(box.products, unit.product) ||
              !(box.freeCapacity >= unit.volume)) {
            continue;
          }
          joined = &box;
          break;
        }
      }
      if (joined != nullptr) {
        joined->products.push_back(unit.product);
        joined->freeCapacity -= unit.volume;
        continue;
      }
    }
    // The same float sums as the loading's: a box stands on the first shelf
    // whose free width is at least its own.
    for (float width : boxWidths_[c]) {
      const std::size_t i =
          bp_solver::firstShelfByWidth(emptyShelves_, used, width);
      if (i == shelves) return false;
      used[i] += width;
      if (singleUnit_[c]) {
        shared.push_back({i, {units_[c].product}, units_[c].boxFree});
      }
    }
  }
  return true;
}

int WalkPlan::pointOf(const OItem& line) const {
  return pointOfAddress_.at(line.wAddress.get());
}

std::int64_t WalkPlan::totalLength() const {
  std::int64_t total = 0;
  for (const WalkCart& held : carts_) total += held.walk.length;
  return total;
}

std::optional<Cart> WalkPlan::load(std::span<const int> customers) {
  Stopwatch watch(effort_.loadingSeconds);
  auto tryOrder = [&](std::span<const int> order) -> std::optional<Cart> {
    std::vector<int> sequence(order.begin(), order.end());
    if (refused_.count(sequence)) return std::nullopt;
    if (!widthsMayLoad(order)) {
      ++effort_.widthRefused;
      return std::nullopt;
    }
    ++effort_.loadChecks;
    Cart cart = cartConfig_.getCartPattern();
    for (int c : order) {
      if (!cart.loadCustomer(solver_, customers_[c], false, nullptr)) {
        refused_.insert(std::move(sequence));
        return std::nullopt;
      }
    }
    return cart;
  };
  if (std::optional<Cart> cart = tryOrder(customers)) return cart;
  const std::vector<int> other = largestFirst(customers);
  if (std::equal(other.begin(), other.end(), customers.begin())) {
    return std::nullopt;
  }
  return tryOrder(other);
}

void WalkPlan::stopsOf(const Cart& cart,
                       std::vector<int>& stops,
                       std::vector<int>& linesAt) const {
  stops.clear();
  linesAt.clear();
  for (const CartOItem& line : cart.cartOItems) {
    const int point = pointOf(line.oItem);
    const auto at = std::find(stops.begin(), stops.end(), point);
    if (at == stops.end()) {
      stops.push_back(point);
      linesAt.push_back(1);
    } else {
      ++linesAt[static_cast<std::size_t>(at - stops.begin())];
    }
  }
}

int WalkPlan::lengthOf(std::span<const int> route,
                       std::span<const int> stops,
                       std::span<const int> linesAt) const {
  routing_detail::RouteLength length;
  int here = legs_->start();
  for (int point : route) {
    const auto at = std::find(stops.begin(), stops.end(), point);
    for (int line = 0; line < linesAt[at - stops.begin()]; ++line) {
      length.add(legs_->leg(here, point));
      here = point;
    }
  }
  length.add(legs_->leg(here, legs_->end()));
  return length.value();
}

CartWalk WalkPlan::quickRoute(std::span<const int> customers,
                              std::span<const int> hint) {
  Stopwatch watch(effort_.routingSeconds);
  ++effort_.quickRouted;
  std::vector<int> stops;
  for (int customer : customers) {
    stops.insert(stops.end(), stopsOf_[customer].begin(),
                 stopsOf_[customer].end());
  }
  std::sort(stops.begin(), stops.end());
  stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
  std::vector<int> order;
  order.reserve(stops.size());
  for (int point : hint) {
    if (std::binary_search(stops.begin(), stops.end(), point)) {
      order.push_back(point);
    }
  }
  for (int point : stops) {
    if (!contains(order, point)) insertCheapest(order, point);
  }
  if (order.size() > 3) {
    // The legs among the route's stops alone, numbered in route order.
    const std::size_t n = order.size();
    const std::size_t size = n + 2;
    auto pointAt = [&](std::size_t local) {
      if (local < n) return order[local];
      return local == n ? legs_->start() : legs_->end();
    };
    std::vector<int> table(size * size);
    for (std::size_t from = 0; from < size; ++from) {
      const int p = pointAt(from);
      for (std::size_t to = 0; to < size; ++to) {
        table[from * size + to] = legs_->leg(p, pointAt(to));
      }
    }
    const DistanceMatrix local =
        DistanceMatrix::fromLegs(static_cast<int>(n), std::move(table));
    std::vector<int> identity(n);
    for (std::size_t i = 0; i < n; ++i) identity[i] = static_cast<int>(i);
    route_search::SearchSettings settings;
    settings.iterationsPerStop = 0;
    const std::vector<int> improved = route_search::detail::iteratedLocalSearch(
        local, std::move(identity), settings);
    std::vector<int> routed;
    routed.reserve(n);
    for (int i : improved) routed.push_back(order[static_cast<std::size_t>(i)]);
    order = std::move(routed);
  }
  CartWalk walk;
  walk.length = static_cast<int>(pathLength(order));
  walk.route = std::move(order);
  return walk;
}

CartWalk WalkPlan::route(const Cart& cart) {
  return route(cart, route_search::SearchSettings().iterationsPerStop);
}

CartWalk WalkPlan::searchRoute(const Cart& cart) {
  CartWalk walk = route(cart, kSearchRoundsPerStop);
  walk.light = solver_.getShortestPathAlgorithm() == ShortestRoute;
  return walk;
}

void WalkPlan::finishRoutes() {
  for (WalkCart& held : carts_) {
    if (held.removed || !held.walk.light) continue;
    held.walk = route(held.cart);
    prepare(held);
  }
}

std::size_t WalkPlan::StopsHash::operator()(const std::vector<int>& key) const {
  std::uint64_t hash = 14695981039346656037ull;
  for (int value : key) {
    hash = (hash ^ static_cast<std::uint32_t>(value)) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

CartWalk WalkPlan::route(const Cart& cart, int roundsPerStop) {
  Stopwatch watch(effort_.routingSeconds);
  ++effort_.routed;
  CartWalk walk;
  const ShortestPathAlgorithms setting = solver_.getShortestPathAlgorithm();
  if (setting == ShortestRoute) {
    // The cart's distinct points in the order of its pick list, as the
    // shortest-route solver numbers them, so that the search over the
    // wave's legs finds the very route the planning run will.
    std::vector<int> stops;
    std::vector<int> linesAt;
    stopsOf(cart, stops, linesAt);
    std::vector<int> key;
    key.reserve(stops.size() + 1);
    key.push_back(roundsPerStop);
    key.insert(key.end(), stops.begin(), stops.end());
    auto [it, added] = routes_.try_emplace(std::move(key));
    if (added) {
      route_search::SearchSettings settings;
      settings.iterationsPerStop = roundsPerStop;
      it->second = route_search::routeStops(*legs_, stops, settings).order;
    } else {
      ++effort_.routesReused;
    }
    walk.route = it->second;
    walk.length = lengthOf(walk.route, stops, linesAt);
    return walk;
  }
  std::vector<CartOItem> order;
  walk.length = tsp_solver::routeBySetting(setting, cart.cartOItems, warehouse_,
                                           &order, routeStart(), routeEnd());
  for (const CartOItem& line : order) {
    const int point = pointOf(line.oItem);
    if (!contains(walk.route, point)) walk.route.push_back(point);
  }
  return walk;
}

void WalkPlan::replace(int c,
                       Cart cart,
                       std::vector<int> customers,
                       CartWalk walk) {
  for (int customer : customers) cartOf_[customer] = c;
  WalkCart& held = carts_[c];
  held.cart = std::move(cart);
  held.customers = std::move(customers);
  held.walk = std::move(walk);
  prepare(held);
}

void WalkPlan::remove(int c) {
  WalkCart& held = carts_[c];
  held.customers.clear();
  held.walk = CartWalk();
  held.removed = true;
  prepare(held);
}

void WalkPlan::restore(int c, WalkCart cart) {
  for (int customer : cart.customers) cartOf_[customer] = c;
  carts_[c] = std::move(cart);
}

std::int64_t WalkPlan::pathLength(std::span<const int> route) const {
  std::int64_t length = 0;
  int here = legs_->start();
  for (int point : route) {
    length += legs_->leg(here, point);
    here = point;
  }
  return length + legs_->leg(here, legs_->end());
}

std::int64_t WalkPlan::insertCheapest(std::vector<int>& route,
                                      int point) const {
  std::vector<int> edges = edgesOf(route);
  return insertCheapest(route, edges, point);
}

std::vector<int> WalkPlan::edgesOf(std::span<const int> route) const {
  std::vector<int> edges;
  edges.reserve(route.size() + 1);
  int before = legs_->start();
  for (int point : route) {
    edges.push_back(legs_->leg(before, point));
    before = point;
  }
  edges.push_back(legs_->leg(before, legs_->end()));
  return edges;
}

std::int64_t WalkPlan::insertCheapest(std::vector<int>& route,
                                      std::vector<int>& edges,
                                      int point) const {
  // On symmetric legs the legs into the point are read along its own row,
  // which stays in the cache.
  auto legInto = [&](int from) {
    return symmetric_ ? legs_->leg(point, from) : legs_->leg(from, point);
  };
  std::int64_t best = 0;
  std::size_t bestAt = 0;
  int bestIn = 0;
  int bestOut = 0;
  int before = legs_->start();
  for (std::size_t at = 0; at <= route.size(); ++at) {
    const int after = at < route.size() ? route[at] : legs_->end();
    const int in = legInto(before);
    const int out = legs_->leg(point, after);
    const std::int64_t cost = std::int64_t{in} + out - edges[at];
    if (at == 0 || cost < best) {
      best = cost;
      bestAt = at;
      bestIn = in;
      bestOut = out;
    }
    before = after;
  }
  route.insert(route.begin() + static_cast<std::ptrdiff_t>(bestAt), point);
  edges[bestAt] = bestOut;
  edges.insert(edges.begin() + static_cast<std::ptrdiff_t>(bestAt), bestIn);
  return best;
}

std::int64_t WalkPlan::insertionCost(std::vector<int>& route,
                                     int customer) const {
  std::vector<int> edges = edgesOf(route);
  std::int64_t added = 0;
  for (int point : stopsOf_[customer]) {
    if (!contains(route, point)) added += insertCheapest(route, edges, point);
  }
  return added;
}

bool WalkPlan::legsSymmetric() const {
  // Compared block by block, so that both reads stay in the cache.
  const int size = legs_->pointCount() + 2;
  constexpr int kBlock = 64;
  for (int i0 = 0; i0 < size; i0 += kBlock) {
    for (int j0 = i0; j0 < size; j0 += kBlock) {
      for (int i = i0; i < std::min(size, i0 + kBlock); ++i) {
        for (int j = std::max(j0, i + 1); j < std::min(size, j0 + kBlock);
             ++j) {
          if (legs_->leg(i, j) != legs_->leg(j, i)) return false;
        }
      }
    }
  }
  return true;
}

}  // namespace walk_search
