#pragma once

// The carts the k-means grouping has built so far, offered again to the
// customers of later clusters. Internal to the grouping algorithms.

#include <list>
#include <vector>

#include "model/cart.h"
#include "model/customer.h"
#include "model/setup_configuration.h"

namespace grouping_customers::detail {

// Carts in the order they are tried and returned: greatest free space when
// stored first (as an int, see clampToInt), equal free spaces in storing
// order. That order is not updated when a stored cart takes customers.
//
// The carts are kept in consecutive blocks, each knowing the most free space
// and free width among its carts, so that a customer skips whole blocks that
// cannot take it instead of trying every cart.
class StoredCarts {
 public:
  void store(Cart cart);

  // Loads the whole customer onto the first cart, in order, whose free space
  // is at least `volume` and that takes it (as loadWholeCustomer decides);
  // false, with every cart unchanged, when none does.
  bool loadOntoFirst(SolverConfiguration& solver,
                     Customer& customer,
                     float volume);

  // Every stored cart in order; leaves none stored.
  std::list<Cart> release();

 private:
  struct Stored {
    Cart cart;
    int key = 0;             // the free space when stored
    double freeWidth = 0.0;  // freeWidthOf(cart), kept current
  };
  struct Block {
    std::vector<Stored> carts;
    // The greatest free space and free width of the carts; NaN when any
    // cart's is NaN, so that no test against them can fail.
    float mostFreeSpace = 0.0f;
    double mostFreeWidth = 0.0;
    void refresh();
  };
  std::vector<Block> blocks_;
};

}  // namespace grouping_customers::detail
