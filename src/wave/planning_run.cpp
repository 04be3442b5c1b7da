// The planning run: customers packed, grouped onto carts and routed.

#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/shortest_walk.h"
#include "routing/route_dispatch.h"
#include "types.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/planning_steps.h"

namespace planning_steps {

short bestTrial(const int (&totals)[3]) {
  int best = INT_INFINITY;
  short winner = AVGDistances;
  for (short trial = 0; trial < 3; ++trial) {
    if (totals[trial] < best) {
      best = totals[trial];
      winner = trial;
    }
  }
  return winner;
}

int addDistance(int total, int distance) {
  return clampToInt(std::int64_t{total} + distance);
}

void printWholeDistance(int total, std::size_t carts) {
  // No carts: the average is reported as 0 rather than divided by zero.
  int average = carts == 0 ? 0 : total / static_cast<int>(carts);
  std::fprintf(stderr, "WHOLE DISTANCE [dm]: %i, AVG DISTANCE PER CART: %i\n",
               total, average);
}

int routeCart(Cart& cart,
              ShortestPathAlgorithms setting,
              Warehouse& warehouse) {
  std::vector<CartOItem> route;
  const int distance = tsp_solver::routeBySetting(
      setting, cart.cartOItems, warehouse, &route, routeStart(), routeEnd());
  cart.addToEstimatedWalkedDistance(distance);
  cart.setCartOItemVector(std::move(route));
  return distance;
}

std::list<Cart> groupCustomers(
    int setting,
    SolverConfiguration& solver,
    CartConfiguration& cartConfig,
    CustomerMultimap& customers,
    Warehouse& warehouse,
    const grouping_customers::PlacedProgress& progress) {
  switch (setting) {
    case LeastSquareMethod:
      return grouping_customers::leastSquareMethod(solver, cartConfig,
                                                   customers, progress);
    case KMeansClustering:
      return grouping_customers::kMeansClustering(solver, cartConfig, customers,
                                                  progress);
    default:
      return grouping_customers::algorithm_AVGDistances(
          solver, cartConfig, customers, warehouse, progress);
  }
}

std::string groupingStep(int setting) {
  switch (setting) {
    case LeastSquareMethod:
      return "grouping LeastSquareMethod";
    case KMeansClustering:
      return "grouping KMeansClustering";
    default:
      return "grouping AVGDistances";
  }
}

}  // namespace planning_steps

namespace {

// The grouping's progress as the loader's callback hears it; nothing when
// there is no callback.
grouping_customers::PlacedProgress groupingProgress(
    const PlanningProgress& progress, int setting, std::size_t total) {
  if (!progress) return {};
  return [&progress, step = planning_steps::groupingStep(setting),
          total](std::size_t placed) { progress(step, placed, total); };
}

// Groups with the setting, reporting progress, and closes the step.
std::list<Cart> groupReporting(const PlanningProgress& progress,
                               int setting,
                               SolverConfiguration& solver,
                               CartConfiguration& cartConfig,
                               CustomerMultimap& customers,
                               Warehouse& warehouse) {
  const std::size_t total = customers.size();
  std::list<Cart> carts = planning_steps::groupCustomers(
      setting, solver, cartConfig, customers, warehouse,
      groupingProgress(progress, setting, total));
  if (progress) progress(planning_steps::groupingStep(setting), total, total);
  return carts;
}

// Routes every cart with the setting; returns the whole distance. Each
// cart's route depends on that cart alone, and greedy routes measure
// without shared state (as the choice of the best grouping has them on two
// threads): with that setting the second half of the carts is routed on
// another thread meanwhile. Progress is reported on this thread, cart by
// cart in order.
int routeReporting(const PlanningProgress& progress,
                   std::list<Cart>& carts,
                   ShortestPathAlgorithms setting,
                   Warehouse& warehouse) {
  std::vector<Cart*> ordered;
  ordered.reserve(carts.size());
  for (Cart& cart : carts) ordered.push_back(&cart);
  std::vector<int> distances(ordered.size(), 0);
  // Routes carts [from, to) up to the first that fails, whose failure it
  // returns with its position; the routed ones before it count as routed.
  struct Failure {
    std::exception_ptr error;
    std::size_t at = 0;
  };
  auto route = [&](std::size_t from, std::size_t to) -> Failure {
    for (std::size_t i = from; i < to; ++i) {
      try {
        distances[i] =
            planning_steps::routeCart(*ordered[i], setting, warehouse);
      } catch (...) {
        return {std::current_exception(), i};
      }
    }
    return {nullptr, to};
  };
  constexpr std::size_t kSideBySideFrom = 64;
  const bool sideBySide = setting == GreedyAlgorithm && !is_debug_on &&
                          ordered.size() >= kSideBySideFrom;
  const std::size_t half = sideBySide ? ordered.size() / 2 : ordered.size();
  std::future<Failure> secondHalf;
  if (sideBySide) {
    secondHalf = std::async(std::launch::async, route, half, ordered.size());
  }
  for (std::size_t i = 0; i < half; ++i) {
    const Failure failure = route(i, i + 1);
    if (failure.error) std::rethrow_exception(failure.error);
    if (progress) progress("routing", i + 1, ordered.size());
  }
  if (secondHalf.valid()) {
    const Failure failure = secondHalf.get();
    for (std::size_t i = half; i < failure.at; ++i) {
      if (progress) progress("routing", i + 1, ordered.size());
    }
    if (failure.error) std::rethrow_exception(failure.error);
  }
  if (progress && carts.empty()) progress("routing", 0, 0);
  int total = 0;
  for (int distance : distances) {
    total = planning_steps::addDistance(total, distance);
  }
  return total;
}

// The whole greedy distance of the carts, measured on copies of their pick
// lists so that the carts stay as the grouping left them.
int greedyTotal(const PlanningProgress& progress,
                const std::list<Cart>& carts,
                Warehouse& warehouse) {
  int total = 0;
  std::size_t routed = 0;
  for (const Cart& cart : carts) {
    std::vector<CartOItem> route;
    total = planning_steps::addDistance(
        total,
        tsp_solver::routeBySetting(GreedyAlgorithm, cart.cartOItems, warehouse,
                                   &route, routeStart(), routeEnd()));
    if (progress) progress("routing", ++routed, carts.size());
  }
  if (progress && carts.empty()) progress("routing", 0, 0);
  return total;
}

// One trial of the choice of the best grouping: its carts, unrouted, and
// their whole greedy distance.
struct Trial {
  std::list<Cart> carts;
  int total = 0;
};

Trial runTrial(const PlanningProgress& progress,
               int setting,
               SolverConfiguration& solver,
               CartConfiguration& cartConfig,
               CustomerMultimap customers,
               Warehouse& warehouse) {
  Trial trial;
  trial.carts = groupReporting(progress, setting, solver, cartConfig, customers,
                               warehouse);
  trial.total = greedyTotal(progress, trial.carts, warehouse);
  return trial;
}

// Reports a step that ran without reports as done.
void reportDone(const PlanningProgress& progress,
                const std::string& step,
                std::size_t total) {
  if (progress) progress(step, total, total);
}

// The choice of the best grouping on two threads: least squares, the
// longest trial, beside the other two. The groupings share no state that
// they change: the carts and customers of each trial are its own, the
// warehouse measures without state, and one-dimensional packing runs no
// interpreter. Only this thread reports progress; the other trial's steps
// are reported done once it ends. Returns the winner's carts as its trial
// grouped them, which is what grouping once more would give.
std::list<Cart> chooseBestSideBySide(const PlanningProgress& progress,
                                     SolverConfiguration& solver,
                                     CartConfiguration& cartConfig,
                                     const CustomerMultimap& customers,
                                     Warehouse& warehouse) {
  std::future<Trial> leastSquares = std::async(
      std::launch::async, runTrial, PlanningProgress{}, LeastSquareMethod,
      std::ref(solver), std::ref(cartConfig), customers, std::ref(warehouse));
  Trial trials[3];
  trials[AVGDistances] = runTrial(progress, AVGDistances, solver, cartConfig,
                                  customers, warehouse);
  trials[KMeansClustering] = runTrial(progress, KMeansClustering, solver,
                                      cartConfig, customers, warehouse);
  trials[LeastSquareMethod] = leastSquares.get();
  reportDone(progress, planning_steps::groupingStep(LeastSquareMethod),
             customers.size());
  reportDone(progress, "routing", trials[LeastSquareMethod].carts.size());

  const int totals[3] = {trials[0].total, trials[1].total, trials[2].total};
  const short winner = planning_steps::bestTrial(totals);
  reportDone(progress, planning_steps::groupingStep(winner), customers.size());
  return std::move(trials[winner].carts);
}

}  // namespace

void CartsLoader::loadingCartsRun(SolverConfiguration& solver,
                                  CartConfiguration& cartConfig,
                                  BoxConfiguration& boxes) {
  if (items.empty()) return;
  customers.clear();
  walkReport = {};
  for (OItem& line : items) {
    line.countWeightAndVolume();
    customers.try_emplace(line.customerID, line.customerID)
        .first->second.addOItem(line);
  }

  CustomerMultimap customerOrder;
  int boxCount = 0;
  std::size_t packed = 0;
  for (auto& [id, customer] : customers) {
    customer.countTotalWeightAndVolume();
    customer.decompIntoBoxes(boxes, solver);
    boxCount += static_cast<int>(customer.boxesDecomp.size());
    customerOrder.emplace(clampToInt(customer.getTotalVolume()), customer);
    if (progress) progress("packing", ++packed, customers.size());
  }
  if (is_debug_on) {
    std::fprintf(stderr, "TOTAL BOXES AFTER DECOMPOSITION: %i\n", boxCount);
  }

  const int setting = solver.getGroupingCustomerAlgorithm();
  const bool choose = setting == ChooseBest || setting == ShortestWalk;
  if (choose && !is_debug_on && !is3DAlgorithm(solver.getBPAlgorithm())) {
    carts = chooseBestSideBySide(progress, solver, cartConfig, customerOrder,
                                 warehouse);
  } else {
    int grouping = setting;
    if (choose) {
      // Leaves the last trial's carts behind; they are replaced below.
      grouping = chooseBestAlgorithm(solver, cartConfig, customerOrder);
    }
    carts = groupReporting(progress, grouping, solver, cartConfig,
                           customerOrder, warehouse);
  }
  if (setting == ShortestWalk) {
    carts = grouping_customers::shortestWalk(
        solver, cartConfig, std::move(carts), warehouse, &walkReport);
  }
  const int total = routeReporting(
      progress, carts, solver.getShortestPathAlgorithm(), warehouse);
  if (is_debug_on) planning_steps::printWholeDistance(total, carts.size());
}

short CartsLoader::chooseBestAlgorithm(SolverConfiguration& solver,
                                       CartConfiguration& cartConfig,
                                       CustomerMultimap customerOrder) {
  static const char* const kTitles[] = {"AVG DISTANCES ALGORITHM\n",
                                        "LEAST SQUARE METHOD\n",
                                        "K MEANS CLUSTERING\n"};
  CustomerMultimap trials[] = {std::move(customerOrder), {}, {}};
  trials[1] = trials[0];
  trials[2] = trials[0];

  int totals[3] = {0, 0, 0};
  for (short trial = 0; trial < 3; ++trial) {
    if (is_debug_on) std::fputs(kTitles[trial], stderr);
    carts = groupReporting(progress, trial, solver, cartConfig, trials[trial],
                           warehouse);
    totals[trial] = routeReporting(progress, carts, GreedyAlgorithm, warehouse);
    if (is_debug_on) {
      planning_steps::printWholeDistance(totals[trial], carts.size());
    }
  }
  return planning_steps::bestTrial(totals);
}
