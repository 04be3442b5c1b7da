#include "wave/stats.h"

#include <iomanip>
#include <sstream>
#include <string>

#include "routing/stops.h"
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

long long plannedDistance(const std::list<Cart>& carts) {
  long long total = 0;
  for (const Cart& cart : carts) total += cart.getEstimatedWalkedDistance();
  return total;
}

std::optional<double> savingPercent(long long reference, long long planned) {
  if (reference <= 0) return std::nullopt;
  return 100.0 * (reference - planned) / reference;
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

CartFigures cartFigures(const Cart& cart) {
  return {cart.customers.size(), countBoxes(cart),
          groupStops(cart.cartOItems).size(),
          cart.getEstimatedWalkedDistance()};
}

std::string metresText(long long decimetres) {
  std::string text = decimetres < 0 ? "-" : "";
  const unsigned long long dm =
      decimetres < 0 ? 0ULL - static_cast<unsigned long long>(decimetres)
                     : static_cast<unsigned long long>(decimetres);
  text += std::to_string(dm / 10);
  text += '.';
  text += std::to_string(dm % 10);
  return text;
}

namespace {

// One row of the table for people.
void cartRow(std::ostream& out,
             const std::string& cart,
             const CartFigures& figures,
             long long distance) {
  const std::string boxes = std::to_string(figures.boxes.full) + " / " +
                            std::to_string(figures.boxes.shared);
  out << std::setw(4) << cart << std::setw(11) << figures.customers
      << std::setw(19) << boxes << std::setw(7) << figures.stops
      << std::setw(14) << metresText(distance) << '\n';
}

}  // namespace

std::string cartTable(const std::list<Cart>& carts) {
  std::ostringstream out;
  out << "cart  customers  boxes full/shared  stops  distance [m]\n";
  CartFigures all;
  long long whole = 0;
  int number = 0;
  for (const Cart& cart : carts) {
    CartFigures figures = cartFigures(cart);
    cartRow(out, std::to_string(++number), figures, figures.distance);
    all.customers += figures.customers;
    all.boxes.full += figures.boxes.full;
    all.boxes.shared += figures.boxes.shared;
    all.stops += figures.stops;
    whole += figures.distance;
  }
  cartRow(out, "all", all, whole);
  out << "average distance per cart: "
      << metresText(
             carts.empty() ? 0 : whole / static_cast<long long>(carts.size()))
      << " m\n";
  return out.str();
}

}  // namespace stats

std::string CartsLoader::getStats() {
  return std::string() + stats::eachCartStats(getLoadedCartsList());
}
