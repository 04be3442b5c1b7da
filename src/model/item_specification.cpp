#include "model/item_specification.h"

ItemSpecification::ItemSpecification(int productID,
                                     Type type,
                                     int packageType,
                                     int contentQty,
                                     float x,
                                     float y,
                                     float z,
                                     float weight)
    : productID(productID),
      type(type),
      packageType(packageType),
      contentQty(contentQty),
      x(x),
      y(y),
      z(z),
      weight(weight),
      volume(x * y * z) {}
