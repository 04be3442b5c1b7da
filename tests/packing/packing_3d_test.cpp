#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "packing/bin_packing_solver.h"
#include "packing/python_session.h"
#include "support/lines.h"

namespace {

using testing_support::line;
using testing_support::orderedByProduct;
using testing_support::unitsByProduct;

const Box master(28, 29, 45, 4000, "masterBox", 1.0f);

// Runs a packer with stderr captured; gives what it wrote there.
template <typename Run>
std::string stderrOf(Run run) {
  testing::internal::CaptureStderr();
  run();
  return testing::internal::GetCapturedStderr();
}

// One unit of a product with the given sides, weight 1.
BoxItem unitPiece(int product, float x, float y, float z) {
  return BoxItem(
      ItemSpecification(product, ItemSpecification::Unit, 1, 1, x, y, z, 1),
      OItem(product, product, "G000502017", 1));
}

// A master box holding a 28x29x40 slab: 4060 of volume left, but no room
// for a 10-cube.
Box nearlyFullMaster() {
  Box box = master;
  BoxItem slab = unitPiece(3, 28, 29, 40);
  box.addItem(slab);
  return box;
}

using testing_support::unitsIn;

// Replaces the packing module inside the interpreter while it lives: with
// None (the import fails) or with the given statements' module py3dbp_test.
class ReplacedModule {
 public:
  explicit ReplacedModule(const std::string& replacement = "None") {
    bp_solver::bridge::Session session;
    session.run(
        "import sys, types\n"
        "saved_py3dbp_of_test = sys.modules.get('py3dbp')\n"
        "sys.modules['py3dbp'] = " +
        replacement);
  }
  ~ReplacedModule() {
    try {
      bp_solver::bridge::Session session;
      session.run(
          "if saved_py3dbp_of_test is None:\n"
          "    del sys.modules['py3dbp']\n"
          "else:\n"
          "    sys.modules['py3dbp'] = saved_py3dbp_of_test\n");
    } catch (const std::exception& error) {
      ADD_FAILURE() << "cannot restore the packing module: " << error.what();
    }
  }
  ReplacedModule(const ReplacedModule&) = delete;
  ReplacedModule& operator=(const ReplacedModule&) = delete;
};

// A stand-in module over the real one whose Packer changes what pack() reports
// (the given statements run on self after the real pack).
std::string wrappedPacker(const std::string& afterPack) {
  bp_solver::bridge::Session session;
  session.run(
      "import py3dbp, types\n"
      "class WrappedPacker(py3dbp.Packer):\n"
      "    def pack(self, *args, **kwargs):\n"
      "        super().pack(*args, **kwargs)\n"
      "        " +
      afterPack +
      "\n"
      "wrapped_module = types.ModuleType('py3dbp')\n"
      "wrapped_module.Packer = WrappedPacker\n"
      "wrapped_module.Bin = py3dbp.Bin\n"
      "wrapped_module.Item = py3dbp.Item\n");
  return "wrapped_module";
}

TEST(Packing3DTest, OneBoxTypeFillsBoxesInOrder) {
  std::vector<Box> boxes;
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_oneBox_pythonScript(
        {line(1, 11, 2, 10, 10, 10), line(1, 12, 1, 5, 5, 5)}, &boxes, master);
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].name, "masterBox");
  EXPECT_EQ(boxes[0].itemsInTheBox.at(11).countOfUnits, 2);
  EXPECT_EQ(boxes[0].itemsInTheBox.at(12).countOfUnits, 1);
  EXPECT_FLOAT_EQ(boxes[0].getUsedCapacity(), 2125);

  // Only two 20-cubes fit a master box: three boxes of 2, 2 and 1 units,
  // appended after what the list already held.
  warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_oneBox_pythonScript(
        {line(1, 20, 5, 20, 20, 20)}, &boxes, master);
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(unitsIn(boxes[1]), 2);
  EXPECT_EQ(unitsIn(boxes[2]), 2);
  EXPECT_EQ(unitsIn(boxes[3]), 1);
  EXPECT_EQ(boxes[3].name, "masterBox");

  // No lines: nothing is appended, and no fallback box either.
  bp_solver::mainSolution3DBP_oneBox_pythonScript({}, &boxes, master);
  EXPECT_EQ(boxes.size(), 4u);
}

TEST(Packing3DTest, PieceLargerThanTheBoxComesBackAsNoneBox) {
  std::vector<Box> boxes;
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_oneBox_pythonScript(
        {line(1, 30, 1, 50, 40, 60), line(1, 31, 1, 5, 5, 5)}, &boxes, master);
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].name, "masterBox");
  EXPECT_EQ(boxes[0].itemsInTheBox.count(31), 1u);
  EXPECT_EQ(boxes[1].name, "none");
  EXPECT_FLOAT_EQ(boxes[1].width, 50);
  EXPECT_FLOAT_EQ(boxes[1].height, 40);
  EXPECT_FLOAT_EQ(boxes[1].depth, 60);
  EXPECT_FLOAT_EQ(boxes[1].getCapacity(), 0);
  EXPECT_FLOAT_EQ(boxes[1].maxWeight, 0);
  EXPECT_EQ(boxes[1].itemsInTheBox.at(30).countOfUnits, 1);
}

TEST(Packing3DTest, FitTestSendsOnePiecePerProductAndPacksInThreeDimensions) {
  Box shared = master;
  BoxItem held = unitPiece(1, 5, 5, 5);
  for (int i = 0; i < 3; ++i) shared.addItem(held);
  BoxItem newcomer = unitPiece(2, 10, 10, 10);
  bool fits = false;
  std::string warnings = stderrOf([&] {
    fits = bp_solver::addBoxItemToExisting_oneItemized_Box_3D(shared, newcomer);
  });
  EXPECT_EQ(warnings, "");
  EXPECT_TRUE(fits);
  bp_solver::bridge::Session session;
  EXPECT_TRUE(
      session.evaluateTruth("[(i['product_no'], i['type']) for i in items] == "
                            "[(1, 'unit'), (2, 'unit')]"));

  // By volume the cube would fit (1000 <= 4060 free), but not by shape.
  Box nearlyFull = nearlyFullMaster();
  ASSERT_TRUE(
      bp_solver::addBoxItemToExisting_oneItemized_Box_1D(nearlyFull, newcomer));
  warnings = stderrOf([&] {
    fits = bp_solver::addBoxItemToExisting_oneItemized_Box_3D(nearlyFull,
                                                              newcomer);
  });
  EXPECT_EQ(warnings, "");
  EXPECT_FALSE(fits);
}

TEST(Packing3DTest, FfdsOpensTheNextLargerTypeAfterAStalledPass) {
  std::vector<Box> types{Box(30, 30, 30, 100, "large", 1.0f),
                         Box(10, 10, 10, 100, "small", 1.0f)};
  std::vector<Box> boxes;
  // A 5-cube goes into the smallest type; a 20x2x2 rod fits "small" by
  // volume but not by shape, so the pass after the stalled one opens "large".
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
        {line(1, 40, 1, 5, 5, 5)}, &boxes, types);
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
        {line(1, 41, 1, 20, 2, 2)}, &boxes, types);
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
        {line(1, 42, 1, 40, 40, 40)}, &boxes, types);
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].name, "small");
  EXPECT_FLOAT_EQ(boxes[0].getCapacity(), 1000);
  EXPECT_EQ(boxes[1].name, "large");
  EXPECT_EQ(boxes[1].itemsInTheBox.count(41), 1u);
  // Larger than every type: "none" once the passes run out of types.
  EXPECT_EQ(boxes[2].name, "none");
  EXPECT_FLOAT_EQ(boxes[2].width, 40);
  EXPECT_EQ(boxes[2].itemsInTheBox.count(42), 1u);
}

TEST(Packing3DTest, CountDefinedStockReturnsWhatNoBoxTookAsNone) {
  std::vector<Box> boxes;
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        {line(1, 50, 5, 20, 20, 20)}, &boxes, {{master, 1}});
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].name, "masterBox");
  EXPECT_EQ(unitsIn(boxes[0]), 2);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(boxes[i].name, "none");
    EXPECT_EQ(unitsIn(boxes[i]), 1);
  }

  // An empty stock takes nothing; every piece comes back, none is dropped.
  boxes.clear();
  warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        {line(1, 51, 2, 5, 5, 5), line(1, 52, 1, 6, 6, 6)}, &boxes,
        {{master, 0}, {Box(10, 10, 10, 100, "small", 1.0f), 0}});
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 3u);
  for (const Box& box : boxes) EXPECT_EQ(box.name, "none");
  EXPECT_EQ(unitsByProduct(boxes), (std::map<int, long>{{51, 2}, {52, 1}}));
}

// A box type may be called "none": its boxes stay boxes of the type, and
// only the pieces that fitted nowhere come back unboxed.
TEST(Packing3DTest, ABoxTypeNamedNoneIsNotTakenForUnboxedPieces) {
  std::vector<Box> boxes;
  stderrOf([&] {
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        {line(1, 50, 5, 20, 20, 20)}, &boxes,
        {{Box(28, 29, 45, 4000, "none", 1.0f), 1}});
  });
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].getCapacity(), master.getCapacity());
  EXPECT_EQ(unitsIn(boxes[0]), 2);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(boxes[i].getCapacity(), 0);
    EXPECT_EQ(unitsIn(boxes[i]), 1);
  }
}

TEST(Packing3DTest, BoxNamesWithQuotesAndBracketsComeBackIntact) {
  const std::string name = "Joe's \"big\" box (L)\\";
  Box odd(28, 29, 45, 4000, name, 1.0f);
  std::vector<Box> one, ffds, counted;
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_oneBox_pythonScript({line(1, 60, 2, 5, 5, 5)},
                                                    &one, odd);
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
        {line(1, 60, 2, 5, 5, 5)}, &ffds, {odd});
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        {line(1, 60, 2, 5, 5, 5)}, &counted, {{odd, 2}});
    EXPECT_TRUE(bp_solver::addBoxItemToExisting_oneItemized_Box_3D(
        odd, unitPiece(1, 5, 5, 5)));
  });
  EXPECT_EQ(warnings, "");
  for (const auto* boxes : {&one, &ffds, &counted}) {
    ASSERT_EQ(boxes->size(), 1u);
    EXPECT_EQ(boxes->at(0).name, name);
    EXPECT_FLOAT_EQ(boxes->at(0).width, 28);  // the configured type itself
    EXPECT_EQ(unitsIn(boxes->at(0)), 2);
  }
}

TEST(Packing3DTest, MissingModuleFallsBackToOneDimensionWithItsWarning) {
  std::vector<OItem> order{line(1, 70, 4, 10, 10, 10)};
  std::vector<Box> boxes{Box(1, 1, 1, 1, "earlier", 1.0f)};
  ReplacedModule blocked;
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_oneBox_pythonScript(order, &boxes, master);
  });
  EXPECT_EQ(warnings.rfind("WARNING: 3DBP failure, processing 1D FFD bin "
                           "packing...\n",
                           0),
            0u);
  // The whole list is replaced by the one-dimensional packing.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].name, "masterBox");
  EXPECT_EQ(unitsIn(boxes[0]), 4);

  // FFDS: its own line, what it had appended removed, the 1D FFDS packing.
  boxes = {Box(1, 1, 1, 1, "earlier", 1.0f)};
  warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(order, &boxes,
                                                                {master});
  });
  EXPECT_EQ(warnings, "python work exception\n");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].name, "earlier");
  EXPECT_EQ(unitsIn(boxes[1]), 4);

  // Count-defined: silent, the 1D FFDS packing over the configured types.
  boxes.clear();
  warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        order, &boxes, {{master, 0}});
  });
  EXPECT_EQ(warnings, "");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].name, "masterBox");
  EXPECT_EQ(unitsIn(boxes[0]), 4);

  // The fit test answers by volume, which has room for the cube.
  bool fits = false;
  warnings = stderrOf([&] {
    fits = bp_solver::addBoxItemToExisting_oneItemized_Box_3D(
        nearlyFullMaster(), unitPiece(2, 10, 10, 10));
  });
  EXPECT_EQ(warnings.rfind("WARNING: 3DBP failure, processing 1D bin "
                           "packing...\n",
                           0),
            0u);
  EXPECT_TRUE(fits);
}

TEST(Packing3DTest, FailedStatementOrLostPieceTakesTheFallback) {
  std::vector<Box> boxes;
  // A first packing leaves bin and items defined in the interpreter.
  bp_solver::mainSolution3DBP_oneBox_pythonScript({line(1, 80, 1, 5, 5, 5)},
                                                  &boxes, master);
  ASSERT_EQ(boxes.size(), 1u);
  // A box record that is no valid statement must not reuse the old bin.
  Box broken(NAN, 29, 45, 4000, "broken", 1.0f);
  std::string warnings = stderrOf([&] {
    bp_solver::mainSolution3DBP_oneBox_pythonScript({line(1, 81, 2, 5, 5, 5)},
                                                    &boxes, broken);
  });
  EXPECT_EQ(warnings.rfind("WARNING: 3DBP failure", 0), 0u);
  EXPECT_EQ(unitsByProduct(boxes), (std::map<int, long>{{81, 2}}));

  // A packing that loses a piece, reports one twice or names one that is no
  // product number is not believed.
  for (std::string afterPack :
       {"self.bins[-1].unfitted_items = []",
        "self.bins[0].items = self.bins[0].items + self.bins[0].items[:1]",
        "self.bins[0].items[0].name = 'x83;unit'"}) {
    ReplacedModule lossy(wrappedPacker(afterPack));
    boxes.clear();
    warnings = stderrOf([&] {
      bp_solver::mainSolution3DBP_oneBox_pythonScript(
          {line(1, 82, 1, 50, 50, 50), line(1, 83, 1, 5, 5, 5)}, &boxes,
          master);
      bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(
          {line(1, 82, 1, 50, 50, 50), line(1, 83, 1, 5, 5, 5)}, &boxes,
          {master});
    });
    EXPECT_EQ(warnings.rfind("WARNING: 3DBP failure", 0), 0u) << afterPack;
    EXPECT_NE(warnings.find("python work exception\n"), std::string::npos);
    EXPECT_EQ(unitsByProduct(boxes), (std::map<int, long>{{82, 2}, {83, 2}}));
  }

  // Afterwards the interpreter packs normally again.
  boxes.clear();
  EXPECT_EQ(stderrOf([&] {
              bp_solver::mainSolution3DBP_oneBox_pythonScript(
                  {line(1, 84, 1, 5, 5, 5)}, &boxes, master);
            }),
            "");
  EXPECT_EQ(boxes.size(), 1u);
}

TEST(Packing3DTest, EveryPackerReturnsEveryOrderedUnit) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> lineCount(1, 6), qty(1, 12), content(0, 5),
      side(1, 30);
  std::vector<Box> types{master, Box(15, 15, 20, 4000, "small", 1.0f)};
  for (int customer = 1; customer <= 12; ++customer) {
    std::vector<OItem> order;
    int lines = lineCount(random);
    for (int l = 0; l < lines; ++l) {
      int packageContent = content(random);
      order.push_back(line(customer, customer * 100 + l, qty(random),
                           static_cast<float>(side(random)),
                           static_cast<float>(side(random)),
                           static_cast<float>(side(random)),
                           packageContent > 1 ? packageContent : 0, 1.5f));
    }
    std::vector<Box> one, ffds, counted;
    std::string warnings = stderrOf([&] {
      bp_solver::mainSolution3DBP_oneBox_pythonScript(order, &one, master);
      bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(order, &ffds,
                                                                  types);
      bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
          order, &counted, {{master, 2}, {types[1], 1}});
    });
    EXPECT_EQ(warnings, "") << "customer " << customer;
    EXPECT_EQ(unitsByProduct(one), orderedByProduct(order));
    EXPECT_EQ(unitsByProduct(ffds), orderedByProduct(order));
    EXPECT_EQ(unitsByProduct(counted), orderedByProduct(order));
  }
}

}  // namespace
