#include "wave/export.h"

#include <gtest/gtest.h>

#include "support/lines.h"
#include "wave/carts_loader.h"
#include "wave/json_files.h"
#include "wave/stats.h"

namespace {

BoxItem piece(int customer,
              int product,
              int units,
              ItemSpecification::Type type = ItemSpecification::Unit) {
  BoxItem p(ItemSpecification(product, type, 1, units, 1, 1, 1, 1),
            OItem(customer, product, "G000502017", units));
  return p;
}

Box boxWith(std::initializer_list<BoxItem> pieces) {
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  for (BoxItem p : pieces) box.addItem(p);
  return box;
}

TEST(ExportTest, NoCartsGiveNullAndFlagsOffGiveNullElements) {
  EXPECT_EQ(exportCarts({}, true, true), "null");
  std::list<Cart> two(2);
  EXPECT_EQ(exportCarts(two, false, false), "[null,null]");
}

TEST(ExportTest, ItemsFollowTheCartOrderWithPlacedQuantities) {
  Cart cart;
  cart.addOItemWithQty(OItem(7, 20, "VCC0001005", 9), 4);
  cart.addOItemWithQty(OItem(7, 10, "G000502017", 9), 1);
  EXPECT_EQ(exportCarts({cart}, false, true),
            R"([{"items":[{"Address":"VCC0001005","Customer":7,"Product":20,)"
            R"("Qty":4},{"Address":"G000502017","Customer":7,"Product":10,)"
            R"("Qty":1}]}])");
}

TEST(ExportTest, ShelvesListFullBoxesThenSharedBoxesInProductOrder) {
  Cart cart(std::vector<CartShelf>(2, CartShelf(90, 50, 45)));
  cart.cartShelves[0].addBox_oneItemized(boxWith({piece(3, 2, 1)}));
  cart.cartShelves[0].addBox_fullItemized(
      boxWith({piece(1, 9, 2), piece(1, 4, 6, ItemSpecification::Package)}));
  EXPECT_EQ(
      exportCarts({cart}, true, true),
      R"([{"items":null,"shelves":[[)"
      R"({"Address":"G000502017","Customer":1,"Product":4,"Qty":6},)"
      R"({"Address":"G000502017","Customer":1,"Product":9,"Qty":2},)"
      R"({"Address":"G000502017","Customer":3,"Product":2,"Qty":1}],null]}])");
}

TEST(ExportTest, NonAsciiAddressesAreWrittenAsTheyAre) {
  Cart cart;
  cart.addOItemWithQty(OItem(1, 2, "XÄÖ0000001", 1), 1);
  EXPECT_NE(exportCarts({cart}, false, true).find("XÄÖ0000001"),
            std::string::npos);
}

// The plan as the JSON library writes it from a document of the carts.
std::string libraryPlan(const std::list<Cart>& carts,
                        bool shelves,
                        bool items) {
  nlohmann::json document;
  for (const Cart& cart : carts) {
    nlohmann::json element;
    if (items) {
      nlohmann::json lines;
      for (const CartOItem& line : cart.cartOItems) lines.push_back(line);
      element["items"] = std::move(lines);
    }
    if (shelves) {
      nlohmann::json all;
      for (const CartShelf& shelf : cart.cartShelves) {
        nlohmann::json entries;
        for (const auto* boxes :
             {&shelf.getBoxes().fullItemized, &shelf.getBoxes().oneItemized}) {
          for (const Box& box : *boxes) {
            for (const auto& entry : box.itemsInTheBox) {
              entries.push_back(entry.second);
            }
          }
        }
        all.push_back(std::move(entries));
      }
      element["shelves"] = std::move(all);
    }
    document.push_back(std::move(element));
  }
  return document.dump();
}

TEST(ExportTest, PlanIsWrittenAsTheJsonLibraryWritesItsDocument) {
  // Carts with and without lines, shelves and boxes (one box empty);
  // addresses the library must escape, negative numbers.
  std::list<Cart> carts(1);
  Cart& full =
      carts.emplace_back(std::vector<CartShelf>(3, CartShelf(90, 50, 45)));
  OItem odd(-4, 2, "G000502017", 1);
  odd.addressCode = "a\"b\\c\n\x01\x1f/\xc3\xa9";
  full.addOItemWithQty(odd, -3);
  full.addOItemWithQty(OItem(9, 8, "VCC0001005", 2), 2);
  BoxItem oddPiece = piece(-4, 2, 5);
  oddPiece.oItem.addressCode = odd.addressCode;
  full.cartShelves[0].addBox_fullItemized(
      boxWith({oddPiece, piece(9, 8, 2, ItemSpecification::Package)}));
  full.cartShelves[2].addBox_oneItemized(boxWith({piece(3, 1, 1)}));
  full.cartShelves[2].addBox_oneItemized(Box(28, 29, 45, 4000, "empty", 1.0f));
  Cart& noShelves = carts.emplace_back(std::vector<CartShelf>{});
  noShelves.addOItemWithQty(OItem(1, 1, "G000502017", 1), 1);
  for (bool shelves : {false, true}) {
    for (bool items : {false, true}) {
      EXPECT_EQ(exportCarts(carts, shelves, items),
                libraryPlan(carts, shelves, items))
          << shelves << items;
    }
  }
  // An address that is no UTF-8 fails as the library fails on it.
  Cart bad;
  OItem invalid(1, 1, "G000502017", 1);
  invalid.addressCode = "\xff";
  bad.addOItemWithQty(invalid, 1);
  EXPECT_THROW(libraryPlan({bad}, false, true), nlohmann::json::type_error);
  EXPECT_THROW(exportCarts({bad}, false, true), nlohmann::json::type_error);
}

TEST(ToJsonTest, TheThreeLineFormsCarryTheirOwnQuantity) {
  OItem line(5, 6, "G000502017", 8);
  EXPECT_EQ(nlohmann::json(line).dump(),
            R"({"Address":"G000502017","Customer":5,"Product":6,"Qty":8})");
  CartOItem onCart(line);
  onCart.addToRealQty(3);
  EXPECT_EQ(nlohmann::json(onCart)["Qty"], 3);
  EXPECT_EQ(nlohmann::json(piece(5, 6, 12))["Qty"], 12);
}

TEST(StatsTest, OneTabSeparatedLinePerCart) {
  const std::string header =
      "CART_NUMBER      TOTAL_CUSTOMERS     TOTAL_ITEMS     FULL_BOXES      "
      "ONE_BOXES       DISTANCE(dm)\n";
  EXPECT_EQ(stats::eachCartStats({}), header);

  Cart cart;
  cart.customers = {Customer(1), Customer(2)};
  cart.items.resize(5);
  Box box = boxWith({piece(1, 1, 1)});
  cart.cartShelves[0].addBox_fullItemized(box);
  cart.cartShelves[1].addBox_fullItemized(box);
  cart.cartShelves[2].addBox_fullItemized(box);
  cart.cartShelves[2].addBox_oneItemized(box);
  cart.addToEstimatedWalkedDistance(1234);
  std::list<Cart> carts{Cart(), Cart(), cart};
  std::string table = stats::eachCartStats(carts);
  EXPECT_EQ(table.substr(table.rfind('\n', table.size() - 2) + 1),
            "3\t\t\t\t\t\t2\t\t\t\t5\t\t\t\t3\t\t\t\t1\t\t\t\t1234\n");
  EXPECT_EQ(table.rfind(header, 0), 0u);
}

TEST(StatsTest, TableForPeopleAlignsItsColumnsWithUnits) {
  Cart cart;
  cart.customers = {Customer(1), Customer(2)};
  Box box = boxWith({piece(1, 1, 1)});
  cart.cartShelves[0].addBox_fullItemized(box);
  cart.cartShelves[2].addBox_fullItemized(box);
  cart.cartShelves[2].addBox_oneItemized(box);
  // Two lines at one address make one stop.
  for (const char* address : {"G000502017", "G000502017", "VCC0001005"}) {
    cart.cartOItems.emplace_back(OItem(1, 7, address, 1));
  }
  cart.addToEstimatedWalkedDistance(6871);
  Cart empty;
  empty.addToEstimatedWalkedDistance(5);
  EXPECT_EQ(stats::cartTable({cart, empty}),
            "cart  customers  boxes full/shared  stops  distance [m]\n"
            "   1          2              2 / 1      2         687.1\n"
            "   2          0              0 / 0      0           0.5\n"
            " all          2              2 / 1      2         687.6\n"
            "average distance per cart: 343.8 m\n");
  EXPECT_EQ(stats::metresText(0), "0.0");
  EXPECT_EQ(stats::metresText(-15), "-1.5");
}

}  // namespace
