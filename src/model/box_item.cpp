#include "model/box_item.h"

#include <utility>

#include "types.h"

BoxItem::BoxItem(ItemSpecification spec, OItem line)
    : countOfUnits(spec.contentQty),
      itemSpecification(std::move(spec)),
      oItem(std::move(line)) {}

int BoxItem::getVolume() const {
  return clampToInt(itemSpecification.volume);
}
