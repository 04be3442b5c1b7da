#include "geometry/address_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ver2::mapping::addressFormatError;
using ver2::mapping::outsideFloorPlan;

// The first and last row and cell of every kind of rack lie inside; one
// beyond either end lies outside.
TEST(AddressCheckTest, RowsAndCellsAtTheEndsOfTheRacks) {
  const char* inside[] = {
      "G000002000", "G000002245", "G004002245", "G000402031", "G003502031",
      "VAA0001001", "VAA0001045", "VBB0001380", "Vdd0001380", "VCC0001039",
      "VFF0001039", "P000001000", "P000601070", "GP00101000", "GP00601029",
      "GP00701027", "GP00801027", "G010502017"};
  for (const char* text : inside) {
    EXPECT_EQ(addressFormatError(text), std::nullopt) << text;
    EXPECT_EQ(outsideFloorPlan(text), std::nullopt) << text;
  }
  const std::pair<const char*, const char*> outside[] = {
      {"G004102017",
       "row 41 lies outside the floor plan: sector G has rows 0 "
       "to 40"},
      {"G000002246",
       "cell 246 lies outside the floor plan: row 0 of sector G "
       "has cells 0 to 245"},
      {"G000402032",
       "cell 32 lies outside the floor plan: row 4 of sector G "
       "has cells 0 to 31"},
      {"VAA0001000",
       "cell 0 lies outside the floor plan: row A of sector V "
       "has cells 1 to 45"},
      {"VAA0001046",
       "cell 46 lies outside the floor plan: row A of sector V "
       "has cells 1 to 45"},
      {"VBB0001381",
       "cell 381 lies outside the floor plan: row B of sector V "
       "has cells 1 to 380"},
      {"VEE0001040",
       "cell 40 lies outside the floor plan: row E of sector V "
       "has cells 1 to 39"},
      {"Vgg0001005",
       "row g lies outside the floor plan: sector V has rows A "
       "to F"},
      {"P000701010",
       "row 7 lies outside the floor plan: sector P has rows 0 "
       "to 6"},
      {"P000001071",
       "cell 71 lies outside the floor plan: row 0 of sector P "
       "has cells 0 to 70"},
      {"GP00001010",
       "row 0 lies outside the floor plan: sector GP has rows 1 "
       "to 8"},
      {"GP00901010",
       "row 9 lies outside the floor plan: sector GP has rows 1 "
       "to 8"},
      {"GP00601030",
       "cell 30 lies outside the floor plan: row 6 of sector GP "
       "has cells 0 to 29"},
      {"GP00801028",
       "cell 28 lies outside the floor plan: row 8 of sector GP "
       "has cells 0 to 27"},
  };
  for (const auto& [text, reason] : outside) {
    EXPECT_EQ(addressFormatError(text), std::nullopt) << text;
    EXPECT_EQ(outsideFloorPlan(text), reason) << text;
  }
  // No verdict on the racks for a text without the address form.
  EXPECT_EQ(outsideFloorPlan("G0099"), std::nullopt);
}

// V reads no row number: positions 3 and 4 may hold anything there.
TEST(AddressCheckTest, PositionsNotReadAreNotChecked) {
  EXPECT_EQ(addressFormatError("VCCxx01005"), std::nullopt);
  EXPECT_EQ(addressFormatError("GX00502017"), std::nullopt);
  EXPECT_EQ(addressFormatError("VC!0001005"), std::nullopt);
  EXPECT_EQ(addressFormatError("V1C0001005"), "no row letter at position 1");
}

}  // namespace
