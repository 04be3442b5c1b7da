// The packing policy of the model's customers and carts, defined beside the
// packers it chooses: which packer decomposes a customer into boxes
// (Customer::decompIntoBoxes), and how a cart's shelves take a customer
// (Cart::loadingCustomer_new). Both stay declared in the model.

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "model/cart.h"
#include "model/customer.h"
#include "packing/bin_packing_solver.h"

void Customer::decompIntoBoxes(BoxConfiguration& boxes,
                               SolverConfiguration& solver) {
  switch (solver.getBPAlgorithm()) {
    case BaseLineFFD:
      bp_solver::baseLineFFD(oItems, &boxesDecomp, boxes.getFirstBox());
      break;
    case FFD_OneBoxType:
      bp_solver::mainSolution1DFFD_oneBoxType(oItems, &boxesDecomp,
                                              boxes.getFirstBox());
      break;
    case FFDS_MultipleBoxTypes:
      bp_solver::mainSolution1DFFDS_multipleBoxTypes(oItems, &boxesDecomp,
                                                     boxes.getBoxesVector());
      break;
    case BP3D_OneBox:
      bp_solver::mainSolution3DBP_oneBox_pythonScript(oItems, &boxesDecomp,
                                                      boxes.getFirstBox());
      break;
    case BP3D_FFDS_MultiBoxTypes:
      bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
          oItems, &boxesDecomp, boxes.getBoxesVector());
      break;
    case BP3D_MultipleBoxTypes_CountDefined:
      bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
          oItems, &boxesDecomp, boxes.getBoxesWCountVector());
      break;
    default:
      break;  // an unknown algorithm packs nothing
  }
}

namespace {

// A single-unit customer joins the first shared box on the cart's shelves
// that takes its unit (by the 3D fit test for a 3D packer, else by free
// volume) and holds no unit of the same product. True when it joined.
bool joinSharedBox(Cart& cart,
                   const SolverConfiguration& solver,
                   const Customer& customer) {
  BoxItem piece = customer.boxesDecomp[0].itemsInTheBox.begin()->second;
  const bool use3D = is3DAlgorithm(solver.getBPAlgorithm());
  for (CartShelf& shelf : cart.cartShelves) {
    for (Box& shared : shelf.getBoxes().oneItemized) {
      // A box keeps its goods by product, so a unit of a product the box
      // already holds would merge into another customer's entry.
      if (shared.itemsInTheBox.count(piece.oItem.productID)) continue;
      // The volume test of the 1D fit test, without copying the box.
      bool fits =
          use3D ? bp_solver::addBoxItemToExisting_oneItemized_Box_3D(shared,
                                                                     piece)
                : shared.getFreeCapacity() >= piece.itemSpecification.volume;
      if (!fits) continue;
      shared.addItem(piece);
      cart.addOItemWithQty(piece.oItem, 1);
      cart.customers.push_back(customer);
      cart.freeSpace -= customer.getTotalVolume();
      return true;
    }
  }
  return false;
}

// Places all the customer's boxes on the shelves (a single unit into the
// shared boxes' list) and lists the customer. False, with the cart
// unchanged, when they do not all fit.
bool loadWhole(Cart& cart,
               const Customer& customer,
               const std::vector<Box>& boxes,
               bool singleUnit) {
  if (!bp_solver::bpSolver_1D_fitBoxesToShelvesInCart(boxes, &cart.cartShelves,
                                                      singleUnit)) {
    return false;
  }
  cart.bookLoadedBoxes(boxes);
  cart.customers.push_back(customer);
  return true;
}

// Places the boxes that find room and leaves the rest in *remainingBoxes;
// when not even one box finds room, forces boxes onto the shelves, one per
// shelf, so that every loading pass makes progress. The customer is listed
// with only the boxes placed.
void loadPartialOrForced(Cart& cart,
                         const Customer& customer,
                         std::vector<Box> boxes,
                         std::vector<Box>* remainingBoxes) {
  std::vector<Box> loaded;
  bool placed = bp_solver::bpSolver_1D_partlyLoadBoxesToShelvesInCart(
      boxes, &cart.cartShelves, remainingBoxes, &loaded);
  if (!placed) {
    for (std::size_t i = 0; i < std::min(boxes.size(), cart.cartShelves.size());
         ++i) {
      cart.cartShelves[i].addBox_fullItemized(boxes.front());
      loaded.push_back(std::move(boxes.front()));
      boxes.erase(boxes.begin());
    }
    *remainingBoxes = std::move(boxes);
    std::perror("WARNING: 3 boxes have been loaded to cart by force!\n");
  }
  cart.addLoadedShare(customer, std::move(loaded));
}

}  // namespace

bool Cart::loadingCustomer_new(SolverConfiguration& solver,
                               Customer& customer,
                               bool allowPartial,
                               std::vector<Box>* remainingBoxes) {
  const bool singleUnit = isSingleUnit(customer.boxesDecomp);
  if (singleUnit && joinSharedBox(*this, solver, customer)) return true;

  // Most customers tried on a filling cart do not fit; that is decided on
  // the box widths before anything is copied.
  const bool fitsWhole =
      bp_solver::fitsShelvesByWidth(customer.boxesDecomp, cartShelves);
  const bool mayLoadPart = allowPartial && remainingBoxes != nullptr;
  if (!fitsWhole && !mayLoadPart) return false;

  std::vector<Box> boxes = customer.getBoxesDecomp();
  if (fitsWhole && loadWhole(*this, customer, boxes, singleUnit)) return true;
  if (!mayLoadPart) return false;

  loadPartialOrForced(*this, customer, std::move(boxes), remainingBoxes);
  return false;
}
