#include "wave/export.h"

#include <nlohmann/json.hpp>

#include "wave/carts_loader.h"
#include "wave/json_files.h"

namespace {

using nlohmann::json;

// The entries of every box of a list, in box order and product order.
void appendEntries(json& shelf, const std::vector<Box>& boxes) {
  for (const Box& box : boxes) {
    for (const auto& entry : box.itemsInTheBox) shelf.push_back(entry.second);
  }
}

}  // namespace

std::string exportCarts(const std::list<Cart>& carts, bool includeShelves,
                        bool includeItems) {
  json document;  // "null" when there are no carts
  for (const Cart& cart : carts) {
    json element;
    if (includeItems) {
      json lines;
      for (const CartOItem& line : cart.cartOItems) lines.push_back(line);
      element["items"] = std::move(lines);
    }
    if (includeShelves) {
      json shelves;
      for (const CartShelf& shelf : cart.cartShelves) {
        json entries;
        appendEntries(entries, shelf.getBoxes().fullItemized);
        appendEntries(entries, shelf.getBoxes().oneItemized);
        shelves.push_back(std::move(entries));
      }
      element["shelves"] = std::move(shelves);
    }
    document.push_back(std::move(element));
  }
  return document.dump();
}

std::string CartsLoader::exportCartsToJson(bool includeShelves,
                                           bool includeItems) {
  return exportCarts(carts, includeShelves, includeItems);
}
