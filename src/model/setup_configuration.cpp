#include "model/setup_configuration.h"

#include <climits>

void BoxConfiguration::addBox(Box box, long count) {
  int narrowed = count > INT_MAX   ? INT_MAX
                 : count < INT_MIN ? INT_MIN
                                   : static_cast<int>(count);
  boxesWCount.emplace_back(box, narrowed);
  boxes.push_back(std::move(box));
}

Box BoxConfiguration::getFirstBox() const {
  if (boxesWCount.empty()) return Box();
  return boxes.front();
}
