#include "grouping/stored_carts.h"

#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

#include "grouping/seed_loading.h"
#include "packing/bin_packing_solver.h"
#include "types.h"

namespace grouping_customers::detail {

namespace {

// A block splits in two halves when it grows beyond this many carts.
constexpr std::size_t kMostPerBlock = 64;

// The greater of the two, NaN once either is NaN.
template <typename F>
F greaterOrNaN(F most, F value) {
  if (std::isnan(most) || std::isnan(value)) {
    return std::numeric_limits<F>::quiet_NaN();
  }
  return value > most ? value : most;
}

}  // namespace

void StoredCarts::Block::refresh() {
  mostFreeSpace = -std::numeric_limits<float>::infinity();
  mostFreeWidth = -std::numeric_limits<double>::infinity();
  for (const Stored& stored : carts) {
    mostFreeSpace = greaterOrNaN(mostFreeSpace, stored.cart.getCartFreeSpace());
    mostFreeWidth = greaterOrNaN(mostFreeWidth, stored.freeWidth);
  }
}

void StoredCarts::store(Cart cart) {
  Stored stored;
  stored.key = clampToInt(cart.getCartFreeSpace());
  stored.freeWidth = freeWidthOf(cart);
  stored.cart = std::move(cart);
  if (blocks_.empty()) blocks_.emplace_back();

  // After every cart of a key at least as great: into the first block that
  // holds a smaller key, before its first such cart, else at the very end.
  auto block = blocks_.begin();
  while (std::next(block) != blocks_.end() &&
         !(block->carts.empty() || block->carts.back().key < stored.key)) {
    ++block;
  }
  auto at = block->carts.begin();
  while (at != block->carts.end() && at->key >= stored.key) ++at;
  block->carts.insert(at, std::move(stored));

  if (block->carts.size() > kMostPerBlock) {
    Block second;
    const auto half = block->carts.begin() +
                      static_cast<std::ptrdiff_t>(block->carts.size() / 2);
    second.carts.assign(std::make_move_iterator(half),
                        std::make_move_iterator(block->carts.end()));
    block->carts.erase(half, block->carts.end());
    block->refresh();
    second.refresh();
    blocks_.insert(std::next(block), std::move(second));
  } else {
    block->refresh();
  }
}

bool StoredCarts::loadOntoFirst(SolverConfiguration& solver,
                                Customer& customer,
                                float volume) {
  const double width = widthOfBoxes(customer.boxesDecomp);
  // The cart's own width test, done once per customer instead of once per
  // cart: a customer of more than a single unit fits only where its boxes
  // stand on the shelves by width.
  const bool singleUnit = isSingleUnit(customer.boxesDecomp);
  const std::vector<float> ordered =
      singleUnit ? std::vector<float>{}
                 : bp_solver::widthsInLoadingOrder(customer.boxesDecomp);
  for (Block& block : blocks_) {
    // Neither test can fail against a NaN, as for a single cart.
    if (volume > block.mostFreeSpace ||
        surelyTooWide(width, block.mostFreeWidth)) {
      continue;
    }
    for (Stored& stored : block.carts) {
      if (volume > stored.cart.getCartFreeSpace()) continue;
      if (surelyTooWide(width, stored.freeWidth)) continue;
      if (!singleUnit &&
          !bp_solver::fitsShelvesByWidth(ordered, stored.cart.cartShelves)) {
        continue;
      }
      // Without partial loading the cart copies what it takes and is left
      // unchanged when the customer does not fit.
      if (stored.cart.loadCustomer(solver, customer, false, nullptr)) {
        stored.freeWidth = freeWidthOf(stored.cart);
        block.refresh();
        return true;
      }
    }
  }
  return false;
}

std::list<Cart> StoredCarts::release() {
  std::list<Cart> result;
  for (Block& block : blocks_) {
    for (Stored& stored : block.carts) result.push_back(std::move(stored.cart));
  }
  blocks_.clear();
  return result;
}

}  // namespace grouping_customers::detail
