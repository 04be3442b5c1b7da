#pragma once

#include <cstdint>

// One way a product is packed: a single unit or a package of contentQty
// units, with the outer dimensions and weight of one such item.
class ItemSpecification {
 public:
  enum Type : std::int32_t { Unit = 0, Package = 1 };

  int productID = 0;
  Type type = Unit;
  int packageType = 0;  // carried, not interpreted
  int contentQty = 0;   // units in one item of this specification
  float x = 0;
  float y = 0;
  float z = 0;
  float weight = 0;
  float volume = 0;  // x * y * z, single precision, x * y first

  ItemSpecification() = default;
  ItemSpecification(int productID,
                    Type type,
                    int packageType,
                    int contentQty,
                    float x,
                    float y,
                    float z,
                    float weight);
};
