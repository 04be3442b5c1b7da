// Hostile waves, one table row each: either the exact reason the loader
// gives for refusing the wave (after its one fixed error line), or the exact
// warnings of a wave that is planned, whose exported items and shelves then
// keep every loaded unit.

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "wave/carts_loader.h"
#include "wave/planning_setup.h"

namespace {

using nlohmann::json;

const char* const kErrorLine =
    "ERROR> bad path or text or json doesnt include required values\n";

// A well-formed row of customer 1, product 5: 3 units at G000502017.
json goodRow() {
  return {{"Customer", 1},   {"Product", 5}, {"AddressCode", "G000502017"},
          {"Qty", 3},        {"Unit", 0},    {"PackageType", 1},
          {"ContentQty", 1}, {"X", 10},      {"Y", 20},
          {"Z", 30},         {"Weight", 0.5}};
}

// The good row with some values replaced or added.
json rowWith(std::initializer_list<std::pair<const char*, json>> changes) {
  json row = goodRow();
  for (const auto& [key, value] : changes) row[key] = value;
  return row;
}

json rowWithout(const char* key) {
  json row = goodRow();
  row.erase(key);
  return row;
}

std::string wave(std::initializer_list<json> rows) {
  return json(rows).dump();
}

std::string addressWave(const std::string& address) {
  return wave({rowWith({{"AddressCode", address}})});
}

struct HostileCase {
  std::string wave;
  // The exact lastLoadError of a refused wave; empty for a planned one.
  std::string refusal;
  // For a planned wave: its exact warnings and the units loaded.
  std::string warnings = "";
  int units = 0;
};

// Per (customer, product), the units of the exported items and shelves.
using Tally = std::map<std::pair<int, int>, int>;

void tallyPlan(const std::string& exported, Tally* items, Tally* shelves) {
  json plan = json::parse(exported);
  if (plan.is_null()) return;
  for (const json& cart : plan) {
    for (const json& line : cart.at("items")) {
      (*items)[{line["Customer"], line["Product"]}] += line["Qty"].get<int>();
    }
    for (const json& shelf : cart.at("shelves")) {
      if (shelf.is_null()) continue;
      for (const json& piece : shelf) {
        (*shelves)[{piece["Customer"], piece["Product"]}] +=
            piece["Qty"].get<int>();
      }
    }
  }
}

const std::string kTenMegabytes(10 * 1024 * 1024, 'G');

const std::vector<HostileCase>& hostileCases() {
  const std::string at = "wave text row 1: ";
  static const std::vector<HostileCase> cases = {
      // Addresses without the address form or of no known sector.
      {addressWave("X000104018"),
       at + "\"AddressCode\" \"X000104018\": unknown sector"},
      {addressWave("Q000104018"),
       at + "\"AddressCode\" \"Q000104018\": unknown sector"},
      {addressWave(""), at + "\"AddressCode\" \"\": unknown sector"},
      {addressWave("g000502017"),
       at + "\"AddressCode\" \"g000502017\": unknown sector"},
      {addressWave(" G00502017"),
       at + "\"AddressCode\" \" G00502017\": unknown sector"},
      {addressWave("G0005020170"),
       at + "\"AddressCode\" \"G0005020170\": has 11 characters, not 10"},
      {addressWave("G0"),
       at + "\"AddressCode\" \"G0\": has 2 characters, not 10"},
      {addressWave(kTenMegabytes),
       at + "\"AddressCode\" \"" + std::string(39, 'G') +
           "...\" (10485760 characters): has 10485760 characters, not 10"},
      {addressWave("V!!0001005"),
       at + "\"AddressCode\" \"V!!0001005\": no row letter at position 1"},
      {addressWave("GXXXXXXXXX"),
       at + "\"AddressCode\" \"GXXXXXXXXX\": no digits at positions 3-4 (row)"},
      {addressWave("PPPPPPPPPP"),
       at + "\"AddressCode\" \"PPPPPPPPPP\": no digits at positions 3-4 (row)"},
      {addressWave("G00-102-17"),
       at + "\"AddressCode\" \"G00-102-17\": no digits at positions 3-4 (row)"},
      {addressWave("G00\t502017"), at + "\"AddressCode\" \"G00\\t502017\": no "
                                        "digits at positions 3-4 (row)"},
      {addressWave("G00aa02017"),
       at + "\"AddressCode\" \"G00aa02017\": no digits at positions 3-4 (row)"},
      {addressWave("G0005XX017"),
       at + "\"AddressCode\" \"G0005XX017\": no digits at positions 5-6 "
            "(level)"},
      {addressWave("G0005019e9"),
       at + "\"AddressCode\" \"G0005019e9\": no digits at positions 7-9 "
            "(cell)"},
      {addressWave("GP0010101 "),
       at + "\"AddressCode\" \"GP0010101 \": no digits at positions 7-9 "
            "(cell)"},
      // The later row of a pair is checked too, and named by its number.
      {wave({goodRow(), goodRow(), rowWith({{"AddressCode", "G0"}})}),
       "wave text row 3: \"AddressCode\" \"G0\": has 2 characters, not 10"},
      // Missing keys, wrong types, rows that are no objects.
      {wave({goodRow(), {{"Customer", 1}}}),
       "wave text row 2: \"Product\": missing"},
      {wave({rowWithout("Weight")}), at + "\"Weight\": missing"},
      {wave({json::object()}), at + "\"Customer\": missing"},
      {wave({rowWith({{"Qty", "5"}})}), at + "\"Qty\" \"5\": not a number"},
      {wave({rowWith({{"Qty", nullptr}})}), at + "\"Qty\" null: not a number"},
      {wave({rowWith({{"Qty", true}})}), at + "\"Qty\" true: not a number"},
      {wave({rowWith({{"Unit", "0"}})}), at + "\"Unit\" \"0\": not a number"},
      {wave({rowWith({{"AddressCode", 12}})}),
       at + "\"AddressCode\" 12: not a string"},
      {wave({rowWith({{"AddressCode", json::array()}})}),
       at + "\"AddressCode\" []: not a string"},
      {wave({goodRow(), {1, 2}}), "wave text row 2: not an object but [1,2]"},
      {wave({goodRow(), 3}), "wave text row 2: not an object but 3"},
      {"5", "wave text row 1: not an object but 5"},
      // Numbers the model cannot hold or the order cannot mean.
      {wave({rowWith({{"Qty", -0.5}})}), at + "\"Qty\" -0.5: below 0"},
      {wave({rowWith({{"Qty", -1}})}), at + "\"Qty\" -1: below 0"},
      {wave({rowWith({{"Qty", 100001}})}), at + "\"Qty\" 100001: above 100000"},
      {wave({rowWith({{"Qty", 4294967297}})}),
       at + "\"Qty\" 4294967297: outside the int range"},
      {wave({rowWith({{"Qty", -2147483649}})}),
       at + "\"Qty\" -2147483649: outside the int range"},
      {wave({rowWith({{"Qty", 1e12}})}),
       at + "\"Qty\" 1000000000000.0: outside the int range"},
      {wave({rowWith({{"Customer", 4000000000}})}),
       at + "\"Customer\" 4000000000: outside the int range"},
      {wave({rowWith({{"Product", 5901234123457}})}),
       at + "\"Product\" 5901234123457: outside the int range"},
      {wave({rowWith({{"X", 1e39}})}),
       at + "\"X\" 1e+39: not a finite single-precision number"},
      {wave({rowWith({{"Weight", -1e39}})}),
       at + "\"Weight\" -1e+39: not a finite single-precision number"},
      {wave({rowWith({{"Unit", 2}})}),
       at + "\"Unit\" 2: neither 0 (unit) nor 1 (package)"},
      // Texts that are no wave.
      {"/no/such/file/and/not/json",
       "/no/such/file/and/not/json: no such file, nor JSON text"},
      {kTenMegabytes,
       "wave text: no valid JSON: parse error at line 1, column 1: syntax "
       "error while parsing value - invalid literal; last read: 'G'"},
      {"[] // comment",
       "wave text: no valid JSON: parse error at line 1, column 4: syntax "
       "error while parsing value - invalid literal; last read: '[] /'; "
       "expected end of input"},
      {"[] []",
       "wave text: no valid JSON: parse error at line 1, column 4: syntax "
       "error while parsing value - unexpected '['; expected end of input"},

      // Planned: addresses beyond the racks, one warning per address.
      {wave({rowWith({{"AddressCode", "G009999999"}}),
             rowWith({{"Product", 6}, {"AddressCode", "G009999999"}})}),
       "",
       "WARNING: wave text row 1: \"AddressCode\" \"G009999999\": row 99 lies "
       "outside the floor plan: sector G has rows 0 to 40\n",
       6},
      {addressWave("G000509999"), "",
       "WARNING: wave text row 1: \"AddressCode\" \"G000509999\": cell 999 "
       "lies outside the floor plan: row 5 of sector G has cells 0 to 31\n",
       3},
      {addressWave("VZZ0001005"), "",
       "WARNING: wave text row 1: \"AddressCode\" \"VZZ0001005\": row Z lies "
       "outside the floor plan: sector V has rows A to F\n",
       3},
      {addressWave("GP00701028"), "",
       "WARNING: wave text row 1: \"AddressCode\" \"GP00701028\": cell 28 "
       "lies outside the floor plan: row 7 of sector GP has cells 0 to 27\n",
       3},
      {addressWave("P000701010"), "",
       "WARNING: wave text row 1: \"AddressCode\" \"P000701010\": row 7 lies "
       "outside the floor plan: sector P has rows 0 to 6\n",
       3},
      // Planned without a word: odd but valid texts and numbers.
      {addressWave("Vcc0001005"), "", "", 3},
      {addressWave("G010502017"), "", "", 3},
      {wave({rowWith({{"Qty", 4.9}})}), "", "", 4},
      {wave({rowWith({{"Qty", 0}})}), "", "", 0},
      {wave({rowWith({{"Lot", "A7"}, {"Cart", "x"}})}), "", "", 3},
      {"[]", "", "", 0},
      // Rows nested far deeper than any writer's stack would follow.
      {"[" + std::string(300000, '[') + std::string(300000, ']') + "]",
       "wave text row 1: not an object but an array nested more than 200 "
       "levels deep"},
      {"{\"a\":" + goodRow().dump() + "}", "", "", 3},
      // Repeated rows: the first one stays; a disagreement is named.
      {wave({goodRow(), rowWith({{"Qty", 6}})}), "",
       "WARNING: wave text rows 1 and 2: customer 1, product 5, \"Unit\" 0 "
       "given twice with \"Qty\" 3 and 6; row 1 is kept\n",
       3},
      {wave({goodRow(), rowWith({{"AddressCode", "VCC0001005"}})}), "",
       "WARNING: wave text rows 1 and 2: customer 1, product 5, \"Unit\" 0 "
       "given twice with \"AddressCode\" \"G000502017\" and \"VCC0001005\"; "
       "row 1 is kept\n",
       3},
      {wave({goodRow(), goodRow()}), "", "", 3},
      {wave({goodRow(), rowWith({{"Unit", 1}, {"ContentQty", 6}, {"Qty", 9}})}),
       "", "", 3},
  };
  return cases;
}

TEST(HostileInputTest, EachWaveIsRefusedWithItsReasonOrPlannedWhole) {
  ASSERT_GE(hostileCases().size(), 40u);
  PlanningSetup setup = batchConfiguration();
  Warehouse warehouse;
  for (const HostileCase& c : hostileCases()) {
    SCOPED_TRACE(c.wave.substr(0, 200));
    CartsLoader loader(warehouse);
    loader.loadItemsAndSpec(wave({goodRow()}));
    testing::internal::CaptureStderr();
    loader.loadItemsAndSpec(c.wave);
    const std::string err = testing::internal::GetCapturedStderr();
    if (!c.refusal.empty()) {
      EXPECT_EQ(loader.lastLoadError(), c.refusal);
      EXPECT_EQ(err, kErrorLine);
      EXPECT_TRUE(loader.getItems().empty());
      continue;
    }
    EXPECT_EQ(loader.lastLoadError(), "");
    EXPECT_EQ(err, c.warnings);
    Tally loaded;
    int units = 0;
    for (const OItem& line : loader.getItems()) {
      loaded[{line.customerID, line.productID}] += line.qty;
      units += line.qty;
    }
    EXPECT_EQ(units, c.units);
    loader.loadingCartsRun(setup.solver, setup.cartConfig, setup.boxes);
    Tally items, shelves;
    tallyPlan(loader.exportCartsToJson(true, true), &items, &shelves);
    std::erase_if(loaded, [](const auto& entry) { return entry.second == 0; });
    EXPECT_EQ(items, loaded);
    EXPECT_EQ(shelves, loaded);
  }
}

}  // namespace
