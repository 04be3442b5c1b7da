#include "wave/export.h"

#include <nlohmann/json.hpp>
#include <string>

#include "wave/carts_loader.h"
#include "wave/json_files.h"

namespace {

using nlohmann::json;

// The plan is written straight into one string, as the JSON library would
// write it compactly: objects with their keys in name order, an empty list
// as null. Only the addresses, the one text in it, are written by the
// library, which escapes them.

// A pick-list line: where, whose, what and how many.
void appendLine(std::string& out, const OItem& line, int qty) {
  out += "{\"Address\":";
  out += json(line.addressCode).dump();
  out += ",\"Customer\":";
  out += std::to_string(line.customerID);
  out += ",\"Product\":";
  out += std::to_string(line.productID);
  out += ",\"Qty\":";
  out += std::to_string(qty);
  out += '}';
}

// Opens a list on its first element and separates the next ones.
void nextElement(std::string& out, bool& first) {
  out += first ? '[' : ',';
  first = false;
}

// Closes a list, or writes null for one without elements.
void closeList(std::string& out, bool first) {
  out += first ? "null" : "]";
}

// The entries of every box of a list, in box order and product order.
void appendEntries(std::string& out,
                   bool& first,
                   const std::vector<Box>& boxes) {
  for (const Box& box : boxes) {
    for (const auto& entry : box.itemsInTheBox) {
      nextElement(out, first);
      appendLine(out, entry.second.oItem, entry.second.countOfUnits);
    }
  }
}

}  // namespace

std::string exportCarts(const std::list<Cart>& carts,
                        bool includeShelves,
                        bool includeItems) {
  std::string out;
  bool firstCart = true;
  for (const Cart& cart : carts) {
    nextElement(out, firstCart);
    if (!includeItems && !includeShelves) {
      out += "null";
      continue;
    }
    out += '{';
    if (includeItems) {
      out += "\"items\":";
      bool first = true;
      for (const CartOItem& line : cart.cartOItems) {
        nextElement(out, first);
        appendLine(out, line.oItem, line.realQty);
      }
      closeList(out, first);
    }
    if (includeShelves) {
      if (includeItems) out += ',';
      out += "\"shelves\":";
      bool firstShelf = true;
      for (const CartShelf& shelf : cart.cartShelves) {
        nextElement(out, firstShelf);
        bool first = true;
        appendEntries(out, first, shelf.getBoxes().fullItemized);
        appendEntries(out, first, shelf.getBoxes().oneItemized);
        closeList(out, first);
      }
      closeList(out, firstShelf);
    }
    out += '}';
  }
  closeList(out, firstCart);
  return out;
}

std::string CartsLoader::exportCartsToJson(bool includeShelves,
                                           bool includeItems) {
  return exportCarts(carts, includeShelves, includeItems);
}
