#include <gtest/gtest.h>

#include "support/lines.h"
#include "wave/dalvenor_debug.h"

namespace {

using testing_support::line;

std::string captured(const std::function<void()>& dump) {
  testing::internal::CaptureStdout();
  dump();
  return testing::internal::GetCapturedStdout();
}

TEST(DebugDumpsTest, CustomerMultimapSharesOneHeaderPerKey) {
  Customer a(1), b(2);
  a.addOItem(line(1, 10, 2, 1, 1, 1));
  a.countTotalWeightAndVolume();
  CustomerMultimap customers{{7, a}, {7, b}};
  std::string text = captured([&] { debugCustomerMultimap(customers); });
  EXPECT_EQ(text,
            "7 --->\n"
            "\tvolume: 2, weight: 1\n"
            "\tProduct: 10\n\tCustomer ID: 1\n\tCustomer Qty: 2\n\tVolume: 2\n"
            "\t ==== Full Boxes: 0\t ==== Single Boxes: 0\n"
            "\tvolume: 0, weight: 0\n"
            "\t ==== Full Boxes: 0\t ==== Single Boxes: 0\n");
}

TEST(DebugDumpsTest, CustomerEndsWithoutANewline) {
  Customer c(4);
  c.boxesDecomp.resize(3);
  EXPECT_EQ(captured([&] { debugCustomer(c); }),
            "\tvolume: 0, weight: 0\n\t ==== Full Boxes: 3\t ==== Single "
            "Boxes: 0");
}

TEST(DebugDumpsTest, CartBoxesReportUsedSpaceAndTotals) {
  Cart cart;
  cart.freeSpace = 132300;
  cart.cartShelves[0].addBox_fullItemized(Box());
  cart.cartShelves[1].addBox_oneItemized(Box());
  cart.addOItemWithQty(OItem(1, 2, "G000502017", 1), 1);
  std::string text = captured([&] { debugCartsBoxes({cart}); });
  EXPECT_EQ(text,
            "1 CARTS\n"
            "   |--CART 1\n"
            "   |    Total full boxes: 1\n"
            "   |    Total full one: 1\n"
            "   |    Cart used space: 0.5\n"
            "   |    Total estimated walk distance: 0\n"
            "   |    Total customers: 0\n"
            "   |    Total items: 1\n"
            "TOTAL BOXES: 2\n"
            "TOTAL OITEMS: 1\n");
}

TEST(DebugDumpsTest, CartCustomersAndLinesAsTrees) {
  Cart cart;
  Customer c(9);
  c.addOItem(line(9, 3, 2, 1, 2, 3));
  cart.customers.push_back(c);
  EXPECT_EQ(captured([&] { debugCartsCustomers({cart}); }),
            "1 CARTS\n  |--CART 1\n  |   |--CUSTOMER 9\n"
            "  |   |    |--ITEM 3\n  |   |    |   |--Qty: 2\n"
            "  |   |    |   |--Volume: 12\n  |   |    |   |--Weight: 1\n");
  EXPECT_EQ(captured([&] { debugCartsOItems({cart}, false); }),
            "1 CARTS\n  |--CART 1\n  |    Total items: 0\n"
            "  |   |--ITEM 3\n");
  EXPECT_EQ(captured([&] { debugCartsOItems({cart}, true); }),
            "1 CARTS\n  |--CART 1\n  |    Total items: 0\n"
            "  |   |--ITEM 3\n  |   |    |--Qty: 2\n  |   |    |--Volume: 12\n"
            "  |   |    |   |--Weight: 1\n");
}

TEST(DebugDumpsTest, PiecesAndBoxesIncludingEmptyLists) {
  BoxItem unit(ItemSpecification(3, ItemSpecification::Unit, 1, 1, 1, 1, 1, 1),
               OItem(9, 3, "G000502017", 1));
  BoxItem carton(
      ItemSpecification(4, ItemSpecification::Package, 2, 6, 1, 1, 1, 1),
      OItem(9, 4, "G000502017", 6));
  const std::string g13(13, ' '), g18(18, ' ');
  EXPECT_EQ(captured([&] {
              debugCustomerBoxItems({unit, carton});
            }),
            "***** 9 *****\nBOX_ITEM===> 3" + g13 + "Unit" + g13 +
                "1\nBOX_ITEM===> 4" + g13 + "Carton" + g13 + "6\n\n");
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  box.addItem(carton);
  EXPECT_EQ(captured([&] { debugCustomerBoxes({box}); }),
            "***** 9 *****\n|--> box 0; type: masterBox; used: 1, free: "
            "36539\n    |BOX_ITEM===> 4" +
                g18 + "Carton" + g18 + "6\n\n");
  EXPECT_EQ(captured([&] { debugCustomerBoxItems({}); }), "***** - *****\n\n");
  EXPECT_EQ(captured([&] { debugCustomerBoxes({Box()}); }),
            "***** - *****\n|--> box 0; type: ; used: 0, free: 0\n\n");
}

}  // namespace
