// Grouping by k-means clustering: customers are placed at the mean position
// of their picks, split into about as many clusters as carts are needed, and
// carts are filled cluster by cluster. Customers that fit nowhere are
// clustered again in a further cycle.

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "grouping/grouping_customers.h"
#include "grouping/kmeans_clusters.h"
#include "grouping/seed_loading.h"
#include "types.h"

namespace grouping_customers {

namespace {

// Every cart built so far, keyed by its free space when stored (greatest
// first, equal keys in storing order). Keys are not updated when a stored
// cart takes further customers.
using CartsByKey = std::multimap<int, Cart, std::greater<int>>;

void storeCart(CartsByKey& cartsByKey, Cart cart) {
  const int key = clampToInt(cart.getCartFreeSpace());
  cartsByKey.emplace(key, std::move(cart));
}

// Tries each customer of the cluster, largest first, on every stored cart
// with room for its volume; removes those that find a cart.
void loadOntoStoredCarts(SolverConfiguration& solver, Cluster& cluster,
                         CartsByKey& cartsByKey) {
  for (auto it = cluster.customers.begin(); it != cluster.customers.end();) {
    bool placed = false;
    for (auto& [storedKey, cart] : cartsByKey) {
      if (static_cast<float>(it->first) > cart.getCartFreeSpace()) continue;
      if (detail::loadWholeCustomer(solver, cart, it->second)) {
        placed = true;
        break;
      }
    }
    it = placed ? cluster.customers.erase(it) : std::next(it);
  }
}

// Opens carts for the cluster's largest remaining customer and tries the
// others on its last cart; those that do not fit go back to the waiting
// customers for the next cycle.
void loadOntoNewCarts(SolverConfiguration& solver,
                      const CartConfiguration& carts, Cluster& cluster,
                      CartsByKey& cartsByKey, CustomerMultimap& waiting) {
  if (cluster.customers.empty()) return;
  auto first = cluster.customers.begin();
  std::vector<Cart> seedCarts =
      detail::loadSeed(solver, carts, std::move(first->second));
  cluster.customers.erase(first);
  for (std::size_t i = 0; i + 1 < seedCarts.size(); ++i) {
    storeCart(cartsByKey, std::move(seedCarts[i]));
  }
  Cart& seedCart = seedCarts.back();
  for (auto& [key, customer] : cluster.customers) {
    if (!detail::loadWholeCustomer(solver, seedCart, customer)) {
      waiting.emplace(key, std::move(customer));
    }
  }
  cluster.customers.clear();
  storeCart(cartsByKey, std::move(seedCart));
}

}  // namespace

std::list<Cart> kMeansClustering(SolverConfiguration& solver,
                                 CartConfiguration& carts,
                                 CustomerMultimap& customers,
                                 const PlacedProgress& progress) {
  const std::size_t customerCount = customers.size();
  CartsByKey cartsByKey;
  const float cartFreeSpace = carts.getCartPattern().getCartFreeSpace();
  while (!customers.empty()) {
    // The keys are summed in 64 bits so that no total can overflow.
    std::int64_t total = 0;
    std::vector<detail::PositionedCustomer> positions;
    positions.reserve(customers.size());
    for (auto& [key, customer] : customers) {
      total += key;
      positions.push_back(
          {detail::meanPosition(customer.oItems), std::move(customer)});
    }
    customers.clear();

    const std::size_t k = detail::clusterCount(
        solver.clusterCountFactor, total, cartFreeSpace, positions.size());
    std::vector<Cluster> clusters =
        detail::formClusters(std::move(positions), k, solver.kMeansIterations);

    // Customers still in clusters not yet loaded, for the progress count.
    std::size_t clustered = 0;
    for (const Cluster& cluster : clusters) {
      clustered += cluster.customers.size();
    }
    for (Cluster& cluster : clusters) {
      clustered -= cluster.customers.size();
      loadOntoStoredCarts(solver, cluster, cartsByKey);
      loadOntoNewCarts(solver, carts, cluster, cartsByKey, customers);
      if (progress) progress(customerCount - clustered - customers.size());
    }
  }

  std::list<Cart> result;
  for (auto& [key, cart] : cartsByKey) result.push_back(std::move(cart));
  return result;
}

}  // namespace grouping_customers
