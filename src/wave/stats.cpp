#include "wave/stats.h"

#include <string>

#include "wave/carts_loader.h"

namespace stats {

std::string eachCartStats(std::list<Cart> carts) {
  std::string table =
      "CART_NUMBER      TOTAL_CUSTOMERS     TOTAL_ITEMS     FULL_BOXES      "
      "ONE_BOXES       DISTANCE(dm)\n";
  int number = 0;
  for (const Cart& cart : carts) {
    std::size_t full = 0, shared = 0;
    for (const CartShelf& shelf : cart.cartShelves) {
      full += shelf.getBoxes().fullItemized.size();
      shared += shelf.getBoxes().oneItemized.size();
    }
    table += std::to_string(++number) + "\t\t\t\t\t\t" +
             std::to_string(cart.customers.size()) + "\t\t\t\t" +
             std::to_string(cart.items.size()) + "\t\t\t\t" +
             std::to_string(full) + "\t\t\t\t" + std::to_string(shared) +
             "\t\t\t\t" + std::to_string(cart.getEstimatedWalkedDistance()) +
             "\n";
  }
  return table;
}

}  // namespace stats

std::string CartsLoader::getStats() {
  return std::string() + stats::eachCartStats(getLoadedCartsList());
}
