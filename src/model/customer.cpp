#include "model/customer.h"

#include "packing/bin_packing_solver.h"

void Customer::countTotalWeightAndVolume() {
  for (const OItem& line : oItems) {
    totalVolume += line.getVolume();
    totalWeight += line.getWeight();
  }
}

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
