#include "model/customer.h"

void Customer::countTotalWeightAndVolume() {
  for (const OItem& line : oItems) {
    totalVolume += line.getVolume();
    totalWeight += line.getWeight();
  }
}
