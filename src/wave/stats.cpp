#include "wave/stats.h"

#include <string>

#include "wave/carts_loader.h"

namespace stats {

BoxCounts countBoxes(const Cart& cart) {
  BoxCounts counts;
  for (const CartShelf& shelf : cart.cartShelves) {
    counts.full += shelf.getBoxes().fullItemized.size();
    counts.shared += shelf.getBoxes().oneItemized.size();
  }
  return counts;
}

std::string eachCartStats(std::list<Cart> carts) {
  std::string table =
      "CART_NUMBER      TOTAL_CUSTOMERS     TOTAL_ITEMS     FULL_BOXES      "
      "ONE_BOXES       DISTANCE(dm)\n";
  int number = 0;
  for (const Cart& cart : carts) {
    BoxCounts boxes = countBoxes(cart);
    table += std::to_string(++number) + "\t\t\t\t\t\t" +
             std::to_string(cart.customers.size()) + "\t\t\t\t" +
             std::to_string(cart.items.size()) + "\t\t\t\t" +
             std::to_string(boxes.full) + "\t\t\t\t" +
             std::to_string(boxes.shared) + "\t\t\t\t" +
             std::to_string(cart.getEstimatedWalkedDistance()) + "\n";
  }
  return table;
}

}  // namespace stats

std::string CartsLoader::getStats() {
  return std::string() + stats::eachCartStats(getLoadedCartsList());
}
