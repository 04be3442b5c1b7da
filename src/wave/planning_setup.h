#pragma once

// The three configurations a planning run takes, and wave_batch's fixed
// ones, which the tools, the tests and the benchmarks plan with.

#include "model/box.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"

// The algorithms, the box types and the cart pattern of one planning run.
struct PlanningSetup {
  SolverConfiguration solver;
  BoxConfiguration boxes;
  CartConfiguration cartConfig;
};

// The standard box type: masterBox, 28 x 29 x 45 with a weight limit of 4000
// and fill factor 1.
Box masterBox();

// wave_batch's fixed configuration: FFD_OneBoxType, AVGDistances and
// GreedyAlgorithm; 1000 master boxes; the cart of three shelves 90 wide,
// 200 long and 50 high. Another route (or grouping) is set by copying the
// solver with the setting changed.
PlanningSetup batchConfiguration();
