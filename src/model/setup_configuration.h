#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/box.h"

// Packing algorithm; values 3 to 5 are the three-dimensional ones.
enum BPAlgorithms : std::int32_t {
  BaseLineFFD = 0,
  FFD_OneBoxType = 1,
  FFDS_MultipleBoxTypes = 2,
  BP3D_OneBox = 3,
  BP3D_FFDS_MultiBoxTypes = 4,
  BP3D_MultipleBoxTypes_CountDefined = 5,
};

// Grouping algorithm; any other value behaves as AVGDistances.
enum GroupingCustomersAlgorithms : std::int32_t {
  AVGDistances = 0,
  LeastSquareMethod = 1,
  KMeansClustering = 2,
  ChooseBest = 3,
  // ChooseBest's grouping improved by the walks of the carts (shortestWalk).
  ShortestWalk = 4,
};

// Route algorithm; any other value keeps the loading order unmeasured.
enum ShortestPathAlgorithms : std::int32_t {
  NearestNeighbour = 0,
  BruteForceOrNearestNeighbour = 1,
  GreedyAlgorithm = 2,
  BruteForceOrGreedy = 3,
  JustMeasureDistance = 4,
  // Exact up to route_search::kExactStopLimit distinct locations, iterated
  // local search above that.
  ShortestRoute = 5,
};

inline bool is3DAlgorithm(BPAlgorithms bp) {
  return bp == BP3D_OneBox || bp == BP3D_FFDS_MultiBoxTypes ||
         bp == BP3D_MultipleBoxTypes_CountDefined;
}

// The algorithm chosen for each planning step, and the fixed k-means tuning.
class SolverConfiguration {
 public:
  int kMeansIterations = 40;
  float clusterCountFactor = 0.91f;
  // ShortestWalk's search budget: each unit lets the search estimate 480,000
  // changes, in at most 60 rounds of iterated local search per cart or
  // 300 rounds (0: local search only). Never negative.
  int effort = kDefaultEffort;
  static constexpr int kDefaultEffort = 1;

  SolverConfiguration(BPAlgorithms bp,
                      GroupingCustomersAlgorithms grouping,
                      ShortestPathAlgorithms route)
      : bpAlgorithm(bp),
        groupingCustomerAlgorithm(grouping),
        shortestPathAlgorithm(route) {}

  BPAlgorithms getBPAlgorithm() const { return bpAlgorithm; }
  GroupingCustomersAlgorithms getGroupingCustomerAlgorithm() const {
    return groupingCustomerAlgorithm;
  }
  ShortestPathAlgorithms getShortestPathAlgorithm() const {
    return shortestPathAlgorithm;
  }

 private:
  BPAlgorithms bpAlgorithm;
  GroupingCustomersAlgorithms groupingCustomerAlgorithm;
  ShortestPathAlgorithms shortestPathAlgorithm;
};

// The available box types, in configured order, with their counts.
class BoxConfiguration {
 public:
  std::vector<std::pair<Box, int>> boxesWCount;
  std::vector<Box> boxes;

  // The count is narrowed to int (clamped to the int range).
  void addBox(Box box, long count);
  std::vector<std::pair<Box, int>> getBoxesWCountVector() const {
    return boxesWCount;
  }
  std::vector<Box> getBoxesVector() const { return boxes; }
  // Box() when no type is configured, else the first type added.
  Box getFirstBox() const;
};
