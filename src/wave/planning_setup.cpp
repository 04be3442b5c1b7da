#include "wave/planning_setup.h"

Box masterBox() {
  return Box(28.0f, 29.0f, 45.0f, 4000.0f, "masterBox", 1.0f);
}

PlanningSetup batchConfiguration() {
  PlanningSetup setup{
      SolverConfiguration(FFD_OneBoxType, AVGDistances, GreedyAlgorithm),
      BoxConfiguration(), CartConfiguration(90.0f, 200.0f, 50.0f, 1.0f, 3)};
  setup.boxes.addBox(masterBox(), 1000);
  return setup;
}
