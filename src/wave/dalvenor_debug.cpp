#include "wave/dalvenor_debug.h"

#include <iostream>
#include <string>

#include "wave/stats.h"

std::atomic<bool> is_debug_on = false;

namespace {

const char* pieceKind(const BoxItem& piece) {
  return piece.itemSpecification.type == ItemSpecification::Unit ? "Unit"
                                                                 : "Carton";
}

}  // namespace

void debugCustomerMultimap(CustomerMultimap customers) {
  int previousKey = -50;
  for (const auto& [key, customer] : customers) {
    if (key != previousKey) std::cout << key << " --->" << std::endl;
    previousKey = key;
    debugCustomer(customer);
    std::cout << std::endl;
  }
}

void debugCustomer(Customer customer) {
  std::cout << "\tvolume: " << customer.getTotalVolume()
            << ", weight: " << customer.getTotalWeight() << std::endl;
  for (const OItem& line : customer.oItems) {
    std::cout << "\tProduct: " << line.productID << std::endl;
    std::cout << "\tCustomer ID: " << line.customerID << std::endl;
    std::cout << "\tCustomer Qty: " << line.qty << std::endl;
    std::cout << "\tVolume: " << line.getVolume() << std::endl;
  }
  std::cout << "\t"
            << " ==== Full Boxes: " << customer.boxesDecomp.size() << "\t"
            << " ==== Single Boxes: " << 0;
}

void debugCartsCustomers(std::list<Cart> carts) {
  std::cout << carts.size() << " CARTS" << std::endl;
  int k = 0;
  for (const Cart& cart : carts) {
    std::cout << "  |--CART " << ++k << std::endl;
    for (const Customer& customer : cart.customers) {
      bool first = true;
      for (const OItem& line : customer.oItems) {
        if (first) {
          std::cout << "  |   |--CUSTOMER " << customer.getCustomerID()
                    << std::endl;
          first = false;
        }
        std::cout << "  |   |    |--ITEM " << line.productID << std::endl;
        std::cout << "  |   |    |   |--Qty: " << line.qty << std::endl;
        std::cout << "  |   |    |   |--Volume: " << line.getVolume()
                  << std::endl;
        std::cout << "  |   |    |   |--Weight: " << line.getWeight()
                  << std::endl;
      }
    }
  }
}

void debugCartsOItems(std::list<Cart> carts, bool details) {
  std::cout << carts.size() << " CARTS" << std::endl;
  int k = 0;
  for (const Cart& cart : carts) {
    std::cout << "  |--CART " << ++k << std::endl;
    std::cout << "  |    Total items: " << cart.items.size() << std::endl;
    for (const Customer& customer : cart.customers) {
      for (const OItem& line : customer.oItems) {
        std::cout << "  |   |--ITEM " << line.productID << std::endl;
        if (!details) continue;
        std::cout << "  |   |    |--Qty: " << line.qty << std::endl;
        std::cout << "  |   |    |--Volume: " << line.getVolume() << std::endl;
        std::cout << "  |   |    |   |--Weight: " << line.getWeight()
                  << std::endl;
      }
    }
  }
}

void debugCartsBoxes(std::list<Cart> carts) {
  std::cout << carts.size() << " CARTS" << std::endl;
  float totalBoxes = 0;
  std::size_t totalLines = 0;
  int k = 0;
  for (const Cart& cart : carts) {
    stats::BoxCounts counts = stats::countBoxes(cart);
    std::cout << "   |--CART " << ++k << std::endl;
    std::cout << "   |    Total full boxes: " << counts.full << std::endl;
    std::cout << "   |    Total full one: " << counts.shared << std::endl;
    std::cout << "   |    Cart used space: "
              << (264600.0f - cart.getCartFreeSpace()) / 264600.0f << std::endl;
    std::cout << "   |    Total estimated walk distance: "
              << cart.getEstimatedWalkedDistance() << std::endl;
    std::cout << "   |    Total customers: " << cart.customers.size()
              << std::endl;
    std::cout << "   |    Total items: " << cart.cartOItems.size() << std::endl;
    totalBoxes += static_cast<float>(counts.full + counts.shared);
    totalLines += cart.cartOItems.size();
  }
  std::cout << "TOTAL BOXES: " << totalBoxes << std::endl;
  std::cout << "TOTAL OITEMS: " << totalLines << std::endl;
}

void debugCustomerBoxItems(std::vector<BoxItem> pieces) {
  // Without pieces there is no customer number to show.
  std::cout << "***** "
            << (pieces.empty() ? std::string("-")
                               : std::to_string(pieces[0].oItem.customerID))
            << " *****" << std::endl;
  const std::string gap(13, ' ');
  for (const BoxItem& piece : pieces) {
    std::cout << "BOX_ITEM===> " << piece.oItem.productID << gap
              << pieceKind(piece) << gap << piece.getCountOfUnits()
              << std::endl;
  }
  std::cout << std::endl;
}

void debugCustomerBoxes(std::vector<Box> boxes) {
  std::string customer = "-";
  if (!boxes.empty() && !boxes[0].itemsInTheBox.empty()) {
    customer =
        std::to_string(boxes[0].itemsInTheBox.begin()->second.oItem.customerID);
  }
  std::cout << "***** " << customer << " *****" << std::endl;
  const std::string gap(18, ' ');
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    std::cout << "|--> "
              << "box " << i << "; type: " << box.name
              << "; used: " << box.getUsedCapacity()
              << ", free: " << box.getFreeCapacity() << std::endl;
    for (const auto& [product, piece] : box.itemsInTheBox) {
      std::cout << "    |BOX_ITEM===> " << product << gap << pieceKind(piece)
                << gap << piece.getCountOfUnits() << std::endl;
    }
  }
  std::cout << std::endl;
}
