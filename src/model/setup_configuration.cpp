#include "model/setup_configuration.h"

#include "types.h"

void BoxConfiguration::addBox(Box box, long count) {
  boxesWCount.emplace_back(box, clampToInt(count));
  boxes.push_back(std::move(box));
}

Box BoxConfiguration::getFirstBox() const {
  if (boxesWCount.empty()) return Box();
  return boxes.front();
}
