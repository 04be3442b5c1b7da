#include "model/cart.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <stdexcept>

#include "model/cart_configuration.h"
#include "support/lines.h"
#include "wave/planning_setup.h"

namespace {

using testing_support::line;

SolverConfiguration solver1D() {
  return batchConfiguration().solver;
}

BoxConfiguration standardBoxes() {
  return batchConfiguration().boxes;
}

Customer packedCustomer(int id, std::vector<OItem> lines) {
  Customer customer(id);
  for (OItem& l : lines) customer.addOItem(l);
  customer.countTotalWeightAndVolume();
  SolverConfiguration solver = solver1D();
  BoxConfiguration boxes = standardBoxes();
  customer.decompIntoBoxes(boxes, solver);
  return customer;
}

// A customer whose boxes are given directly: n boxes of the given width,
// each holding one unit of its own product.
Customer customerWithBoxes(int id, int n, float width) {
  Customer customer(id);
  for (int i = 0; i < n; ++i) {
    Box box(width, 29, 45, 4000, "b", 1.0f);
    BoxItem piece(ItemSpecification(500 + i, ItemSpecification::Unit, 1, 1, 10,
                                    10, 10, 1),
                  OItem(id, 500 + i, "G000502017", 1));
    box.addItem(piece);
    customer.boxesDecomp.push_back(box);
  }
  return customer;
}

std::vector<CartShelf> shelvesOfWidth(std::initializer_list<float> widths) {
  std::vector<CartShelf> shelves;
  for (float w : widths) shelves.emplace_back(w, 50, 45);
  return shelves;
}

int boxesOnShelves(const Cart& cart) {
  return static_cast<int>(testing_support::boxCount(cart));
}

TEST(CartTest, TwoSingleUnitCustomersShareOneBox) {
  SolverConfiguration solver = solver1D();
  Cart cart = CartConfiguration(90, 200, 50, 1.0f, 3).getCartPattern();
  Customer a = packedCustomer(1, {line(1, 101, 1, 5, 5, 5)});
  Customer b = packedCustomer(2, {line(2, 102, 1, 5, 5, 5)});
  EXPECT_TRUE(cart.loadCustomer(solver, a, false, nullptr));
  EXPECT_TRUE(cart.loadCustomer(solver, b, false, nullptr));
  EXPECT_EQ(cart.getCustomerVector().size(), 2u);
  EXPECT_EQ(boxesOnShelves(cart), 1);
  const Box& shared = cart.cartShelves[0].getBoxes().oneItemized.at(0);
  EXPECT_EQ(shared.itemsInTheBox.size(), 2u);
  ASSERT_EQ(cart.getCartOItemVector().size(), 2u);
  for (const CartOItem& entry : cart.getCartOItemVector()) {
    EXPECT_EQ(entry.getRealQty(), 1);
  }
  EXPECT_FLOAT_EQ(cart.getCartFreeSpace(), 328860.0f - 125 - 125);
}

TEST(CartTest, ASharedBoxHoldingTheSameProductDoesNotTakeAnotherCustomer) {
  SolverConfiguration solver = solver1D();
  Cart cart = CartConfiguration(90, 200, 50, 1.0f, 3).getCartPattern();
  Customer a = packedCustomer(1, {line(1, 101, 1, 5, 5, 5)});
  Customer b = packedCustomer(2, {line(2, 101, 1, 5, 5, 5)});
  ASSERT_TRUE(cart.loadCustomer(solver, a, false, nullptr));
  ASSERT_TRUE(cart.loadCustomer(solver, b, false, nullptr));
  EXPECT_EQ(boxesOnShelves(cart), 2);
  // Each customer's unit stands in its own entry on the shelves.
  testing_support::UnitsByCustomerProduct shared;
  for (const CartShelf& s : cart.cartShelves) {
    testing_support::addUnits(s.getBoxes().oneItemized, &shared);
  }
  std::map<int, int> unitsByCustomer;
  for (const auto& [key, units] : shared) unitsByCustomer[key.first] += units;
  EXPECT_EQ(unitsByCustomer, (std::map<int, int>{{1, 1}, {2, 1}}));
}

TEST(CartTest, SharingPicksTheLineOfTheUnitActuallyPlaced) {
  SolverConfiguration solver = solver1D();
  Cart cart = CartConfiguration(90, 200, 50, 1.0f, 3).getCartPattern();
  Customer a = packedCustomer(1, {line(1, 101, 1, 5, 5, 5)});
  Customer c =
      packedCustomer(3, {line(3, 50, 0, 5, 5, 5), line(3, 900, 1, 5, 5, 5)});
  ASSERT_TRUE(cart.loadCustomer(solver, a, false, nullptr));
  ASSERT_TRUE(cart.loadCustomer(solver, c, false, nullptr));
  EXPECT_EQ(boxesOnShelves(cart), 1);
  ASSERT_EQ(cart.getCartOItemVector().size(), 2u);
  EXPECT_EQ(cart.getCartOItemVector()[1].oItem.productID, 900);
}

TEST(CartTest, PartialLoadPlacesWhatFitsAndReturnsTheRest) {
  SolverConfiguration solver = solver1D();
  Cart cart(shelvesOfWidth({30, 30, 0}));
  Customer customer = customerWithBoxes(1, 4, 28);
  std::vector<Box> remaining;
  EXPECT_FALSE(cart.loadCustomer(solver, customer, false, &remaining));
  EXPECT_EQ(boxesOnShelves(cart), 0);
  EXPECT_FALSE(cart.loadCustomer(solver, customer, true, nullptr));

  EXPECT_FALSE(cart.loadCustomer(solver, customer, true, &remaining));
  EXPECT_EQ(boxesOnShelves(cart), 2);
  EXPECT_EQ(remaining.size(), 2u);
  EXPECT_EQ(cart.getCustomerVector().size(), 1u);
  EXPECT_EQ(cart.getCartOItemVector().size(), 2u);
}

TEST(CartTest, ForcedLoadPutsOneBoxPerShelfWithinTheBound) {
  SolverConfiguration solver = solver1D();
  const std::pair<int, int> cases[] = {{1, 1}, {2, 1}, {3, 2},
                                       {4, 2}, {5, 3}, {7, 3}};
  for (auto [boxes, forced] : cases) {
    Cart cart(shelvesOfWidth({10, 10, 10}));
    Customer customer = customerWithBoxes(1, boxes, 28);
    std::vector<Box> remaining;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(cart.loadCustomer(solver, customer, true, &remaining));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxesOnShelves(cart), forced) << boxes;
    EXPECT_EQ(static_cast<int>(remaining.size()), boxes - forced) << boxes;
    EXPECT_EQ(
        err.rfind("WARNING: 3 boxes have been loaded to cart by force!\n: ", 0),
        0u)
        << err;
    EXPECT_LT(cart.cartShelves[0].getFreeWidth(), 0);
  }
}

TEST(CartTest, ACustomerWithoutBoxesFitsAnyCart) {
  SolverConfiguration solver = solver1D();
  Cart cart(shelvesOfWidth({0}));
  Customer empty(9);
  EXPECT_TRUE(cart.loadCustomer(solver, empty, false, nullptr));
  EXPECT_EQ(cart.getCustomerVector().size(), 1u);
  EXPECT_TRUE(cart.getCartOItemVector().empty());
}

TEST(CartTest, OldLoaderCountsBoxes) {
  Cart cart;
  Customer ten = customerWithBoxes(1, 10, 28);
  EXPECT_FALSE(cart.loadingCustomer_old(ten));
  Customer nine = customerWithBoxes(2, 9, 28);
  nine.addOItem(OItem(2, 7, "G000502017", 1));
  EXPECT_TRUE(cart.loadingCustomer_old(nine));
  EXPECT_EQ(cart.maxBoxes, 0);
  EXPECT_FLOAT_EQ(cart.getCartFreeSpace(), 328860.0f - 9 * 29400.0f);
  EXPECT_EQ(cart.cartShelves[0].getBoxes().fullItemized.size(), 9u);
  EXPECT_EQ(cart.getItemVector().size(), 1u);
}

TEST(CartTest, OldLoaderRefusesBoxesOnACartWithoutShelves) {
  Cart cart{std::vector<CartShelf>{}};
  Customer one = customerWithBoxes(1, 1, 28);
  EXPECT_FALSE(cart.loadingCustomer_old(one));
  EXPECT_EQ(cart.maxBoxes, 9);
  EXPECT_FLOAT_EQ(cart.getCartFreeSpace(), 328860.0f);
  EXPECT_TRUE(cart.getCustomerVector().empty());

  // Nothing to place: such a customer still goes on.
  Customer none(2);
  EXPECT_TRUE(cart.loadingCustomer_old(none));
  EXPECT_EQ(cart.getCustomerVector().size(), 1u);
}

TEST(CartTest, PickListMergesByCustomerAndProductNotAddress) {
  Cart cart;
  cart.addOItemWithQty(OItem(1, 5, "G000502017", 3), 2);
  cart.addOItemWithQty(OItem(1, 5, "VCC0001005", 3), 3);
  cart.addOItemWithQty(OItem(2, 5, "VCC0001005", 3), 1);
  ASSERT_EQ(cart.getCartOItemVector().size(), 2u);
  EXPECT_EQ(cart.getCartOItemVector()[0].getRealQty(), 5);
}

// Nothing is lost: random customers loaded onto carts, partial loading
// following the rest onto fresh carts; pick lists and shelves each hold
// exactly what the customers' boxes held.
TEST(CartTest, LoadingKeepsEveryUnitOnShelvesAndPickLists) {
  std::mt19937 rng(7);
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  SolverConfiguration solver = solver1D();
  CartConfiguration config(90, 200, 50, 1.0f, 3);
  std::map<std::pair<int, int>, long> expected, onShelves, onPickLists;
  std::vector<Cart> carts{config.getCartPattern()};
  for (int id = 1; id <= 120; ++id) {
    std::vector<OItem> lines;
    int n = pick(1, 6);
    for (int i = 0; i < n; ++i) {
      int qty = pick(0, 1) ? 1 : pick(1, 60);
      lines.push_back(line(id, pick(1, 12), qty, pick(2, 25), pick(2, 25),
                           pick(2, 40), pick(0, 1) ? 0 : pick(2, 12), 2));
      if (pick(0, 3) == 0) break;
    }
    // Merge duplicate products as a wave load would.
    std::map<int, OItem> merged;
    for (OItem& l : lines) merged.emplace(l.productID, l);
    lines.clear();
    for (auto& [p, l] : merged) lines.push_back(l);
    Customer customer = packedCustomer(id, lines);
    testing_support::addUnits(customer.boxesDecomp, &expected);
    if (carts.back().loadCustomer(solver, customer, pick(0, 1), nullptr)) {
      continue;
    }
    std::vector<Box> remaining;
    while (!carts.back().loadCustomer(solver, customer, true, &remaining) &&
           !remaining.empty()) {
      carts.push_back(config.getCartPattern());
      customer.setBoxesDecomp(remaining);
      remaining.clear();
    }
  }
  for (const Cart& cart : carts) {
    for (const CartOItem& e : cart.cartOItems) {
      onPickLists[{e.oItem.customerID, e.oItem.productID}] += e.realQty;
    }
    for (const CartShelf& s : cart.cartShelves) {
      testing_support::addUnits(s.getBoxes().fullItemized, &onShelves);
      testing_support::addUnits(s.getBoxes().oneItemized, &onShelves);
    }
  }
  for (auto it = expected.begin(); it != expected.end();) {
    it = it->second == 0 ? expected.erase(it) : std::next(it);
  }
  EXPECT_EQ(onShelves, expected);
  EXPECT_EQ(onPickLists, expected);
  EXPECT_GT(carts.size(), 3u);
}

TEST(CartConfigurationTest, BuildsThePatternAndRefusesCartsWithoutShelves) {
  CartConfiguration config(90, 200, 50, 1.0f, 3);
  Cart pattern = config.getCartPattern();
  ASSERT_EQ(pattern.cartShelves.size(), 3u);
  for (const CartShelf& s : pattern.cartShelves) {
    EXPECT_FLOAT_EQ(s.getFreeWidth(), 90);
    EXPECT_EQ(s.getHeight(), 200.0f / 3.0f);
  }
  config.addCartShelf(60, 40, 40, 0);
  EXPECT_EQ(config.getCartPattern().cartShelves.size(), 3u);
  EXPECT_EQ(config.cartShelves.size(), 1u);
  config.removeCartShelves();
  EXPECT_TRUE(config.cartShelves.empty());

  try {
    CartConfiguration none(90, 200, 50, 1.0f, 0);
    FAIL() << "a cart without shelves was accepted";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(),
                 "Invalid cart configuration: 0 shelves; a cart needs at least "
                 "one shelf");
  }
}

TEST(CustomerTest, TotalsAccumulateAndUnknownPackersKeepBoxes) {
  Customer customer(4);
  customer.addOItem(line(4, 1, 3, 10, 20, 30));
  customer.countTotalWeightAndVolume();
  customer.countTotalWeightAndVolume();
  EXPECT_FLOAT_EQ(customer.getTotalVolume(), 36000);
  EXPECT_FLOAT_EQ(customer.getTotalWeight(), 3);

  BoxConfiguration boxes = standardBoxes();
  SolverConfiguration one = solver1D();
  customer.decompIntoBoxes(boxes, one);
  ASSERT_EQ(customer.getBoxesDecomp().size(), 1u);
  customer.boxesDecomp[0].name = "first";
  SolverConfiguration unknown(static_cast<BPAlgorithms>(6), AVGDistances,
                              GreedyAlgorithm);
  customer.decompIntoBoxes(boxes, unknown);
  EXPECT_EQ(customer.getBoxesDecomp().size(), 1u);
  customer.decompIntoBoxes(boxes, one);
  ASSERT_EQ(customer.getBoxesDecomp().size(), 2u);
  EXPECT_EQ(customer.getBoxesDecomp()[0].name, "first");
}

}  // namespace
