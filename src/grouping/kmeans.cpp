// Grouping by k-means clustering: customers are placed at the mean position
// of their picks, split into about as many clusters as carts are needed, and
// carts are filled cluster by cluster. Customers that fit nowhere are
// clustered again in a further cycle.

#include <cstdint>
#include <utility>

#include "grouping/grouping_customers.h"
#include "grouping/kmeans_clusters.h"
#include "grouping/seed_loading.h"
#include "grouping/stored_carts.h"
#include "types.h"

namespace grouping_customers {

namespace {

// Tries each customer of the cluster, largest first, on the stored carts
// with room for its volume; removes those that find a cart.
void loadOntoStoredCarts(SolverConfiguration& solver,
                         Cluster& cluster,
                         detail::StoredCarts& stored) {
  for (auto it = cluster.customers.begin(); it != cluster.customers.end();) {
    const bool placed =
        stored.loadOntoFirst(solver, it->second, static_cast<float>(it->first));
    it = placed ? cluster.customers.erase(it) : std::next(it);
  }
}

// Opens carts for the cluster's largest remaining customer and tries the
// others on its last cart; those that do not fit go back to the waiting
// customers for the next cycle.
void loadOntoNewCarts(SolverConfiguration& solver,
                      const CartConfiguration& carts,
                      Cluster& cluster,
                      detail::StoredCarts& stored,
                      CustomerMultimap& waiting) {
  if (cluster.customers.empty()) return;
  auto first = cluster.customers.begin();
  std::vector<Cart> seedCarts =
      detail::loadSeed(solver, carts, std::move(first->second));
  cluster.customers.erase(first);
  for (std::size_t i = 0; i + 1 < seedCarts.size(); ++i) {
    stored.store(std::move(seedCarts[i]));
  }
  Cart& seedCart = seedCarts.back();
  for (auto& [key, customer] : cluster.customers) {
    if (!detail::loadWholeCustomer(solver, seedCart, customer)) {
      waiting.emplace(key, std::move(customer));
    }
  }
  cluster.customers.clear();
  stored.store(std::move(seedCart));
}

}  // namespace

std::list<Cart> kMeansClustering(SolverConfiguration& solver,
                                 CartConfiguration& carts,
                                 CustomerMultimap& customers,
                                 const PlacedProgress& progress) {
  const std::size_t customerCount = customers.size();
  detail::StoredCarts stored;
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

    const std::size_t k = detail::clusterCount(solver.clusterCountFactor, total,
                                               cartFreeSpace, positions.size());
    std::vector<Cluster> clusters =
        detail::formClusters(std::move(positions), k, solver.kMeansIterations);

    // Customers still in clusters not yet loaded, for the progress count.
    std::size_t clustered = 0;
    for (const Cluster& cluster : clusters) {
      clustered += cluster.customers.size();
    }
    for (Cluster& cluster : clusters) {
      clustered -= cluster.customers.size();
      loadOntoStoredCarts(solver, cluster, stored);
      loadOntoNewCarts(solver, carts, cluster, stored, customers);
      if (progress) progress(customerCount - clustered - customers.size());
    }
  }

  return stored.release();
}

}  // namespace grouping_customers
