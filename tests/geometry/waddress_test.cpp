#include "geometry/waddress.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

SECTOR_ADDR_T resolve(const std::string& text) {
  return WAddress(text).getWarehouseWAddress();
}

// Address text of sector G (or P) from its row, level and cell.
std::string code(const std::string& sector, int row, int level, int cell) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%02d%02d%03d", sector.c_str(), row, level,
                cell);
  return text;
}

struct AddressExample {
  const char* text;
  int xIndex, yIndex, level, x, y;
};

TEST(WaddressTest, WorkedAddressTableResolvesExactly) {
  const AddressExample examples[] = {
      {"G000502017", 17, 5, 2, 312, 186}, {"G000102100", 100, 1, 2, 251, 138},
      {"GP00301012", 3, 12, 1, 633, 421}, {"GP00701010", 7, 10, 1, 735, 427},
      {"P000203045", 2, 45, 3, 808, 551}, {"VBB0001150", 150, 1, 1, 255, 28},
      {"VAA0002030", 30, 0, 2, 420, 0},
  };
  for (const AddressExample& e : examples) {
    SCOPED_TRACE(e.text);
    WAddress address(e.text);
    SECTOR_ADDR_T p = address.getWarehouseWAddress();
    EXPECT_EQ(p.sector, std::string(e.text).substr(0, 3));
    EXPECT_EQ(p.xIndex, e.xIndex);
    EXPECT_EQ(p.yIndex, e.yIndex);
    EXPECT_EQ(p.level, e.level);
    EXPECT_EQ(p.levelCopy, e.level);
    EXPECT_EQ(p.x, e.x);
    EXPECT_EQ(p.y, e.y);
    EXPECT_EQ(address.getRawSectorAddress(), e.text);
  }
}

TEST(WaddressTest, GPRowsAndCellsGiveTheListedCoordinates) {
  const int xs[] = {567, 591, 615, 633, 645, 663, 711, 735, 759};
  for (int row = 0; row <= 8; ++row) {
    EXPECT_EQ(resolve(code("GP0", row, 1, 1)).x, xs[row]) << "row " << row;
  }
  const int cells[] = {0, 1, 2, 7};
  const int ys[] = {264, 277, 290, 356};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(resolve(code("GP0", 1, 1, cells[i])).y, ys[i])
        << "cell " << cells[i];
  }
}

TEST(WaddressTest, GRowsGiveTheListedY) {
  const int ys[] = {130, 138, 154, 162, 178, 186, 202, 210, 226, 234, 250, 258};
  for (int row = 0; row <= 11; ++row) {
    EXPECT_EQ(resolve(code("G00", row, 1, 1)).y, ys[row]) << "row " << row;
  }
}

TEST(WaddressTest, PRowsAndCellsGiveTheListedCoordinates) {
  const int xs[] = {754, 774, 808, 828, 862, 882, 916, 936, 970};
  for (int row = 0; row <= 8; ++row) {
    EXPECT_EQ(resolve(code("P00", row, 1, 1)).x, xs[row]) << "row " << row;
  }
  const int cells[] = {0, 1, 48, 49, 61};
  const int ys[] = {123, 133, 579, 589, 703};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(resolve(code("P00", 1, 1, cells[i])).y, ys[i])
        << "cell " << cells[i];
  }
}

TEST(WaddressTest, VRowsAToFGiveTheListedY) {
  const int ys[] = {0, 28, 34, 62, 68, 96};
  for (int r = 0; r < 6; ++r) {
    std::string letter(1, static_cast<char>('A' + r));
    SECTOR_ADDR_T p = resolve("V" + letter + letter + "0001005");
    EXPECT_EQ(p.y, ys[r]) << "row " << letter;
    EXPECT_EQ(p.yIndex, r);
  }
}

TEST(WaddressTest, GPPrefixSelectsSectorGP) {
  SECTOR_ADDR_T p = resolve("GP00101005");
  EXPECT_EQ(p.sector, "GP0");
  EXPECT_EQ(p.x, 591);
  EXPECT_EQ(p.y, 329);
  EXPECT_EQ(p.xIndex, 1);
  EXPECT_EQ(p.yIndex, 5);
}

TEST(WaddressTest, GSectorIsTheFirstThreeCharactersWhateverTheyAre) {
  SECTOR_ADDR_T p = resolve("G010502017");
  EXPECT_EQ(p.sector, "G01");
  EXPECT_EQ(p.x, 312);
  EXPECT_EQ(p.y, 186);
}

TEST(WaddressTest, GSmallCellRowsUseTheirOwnStrictThresholds) {
  EXPECT_EQ(resolve("G000101056").x, 149);  // 56 * 1.6 + 60, no corridor
  EXPECT_EQ(resolve("G000101057").x, 182);  // 151 + 31
  EXPECT_EQ(resolve("G003601137").x, 347);  // 279 + 68, row 36 small
  EXPECT_EQ(resolve("G004001193").x, 467);  // 368 + 99, row 40 small
  // Row 4 has big cells: thresholds 7, 17, 24.
  EXPECT_EQ(resolve("G000401007").x, 151);
  EXPECT_EQ(resolve("G000401008").x, 195);  // 164 + 31
  EXPECT_EQ(resolve("G000401020").x, 388);  // 320 + 68
  EXPECT_EQ(resolve("G000401025").x, 484);  // 385 + 99
}

TEST(WaddressTest, VRowLettersAreCaseInsensitiveAndSectorKeepsTheCase) {
  SECTOR_ADDR_T upper = resolve("VBB0001150");
  SECTOR_ADDR_T lower = resolve("Vbb0001150");
  EXPECT_EQ(lower.x, upper.x);
  EXPECT_EQ(lower.y, upper.y);
  EXPECT_EQ(lower.yIndex, upper.yIndex);
  EXPECT_EQ(lower.sector, "Vbb");
}

TEST(WaddressTest, VRowsUseTheirCellWidthsAndCorridors) {
  EXPECT_EQ(resolve("VAA0001010").x, 131);  // pallets: 90 + 36.5 + 5
  EXPECT_EQ(resolve("VAA0001013").x, 198);  // 161 + 37.2
  EXPECT_EQ(resolve("VAA0001037").x, 536);  // 401 + 135.5
  EXPECT_EQ(resolve("VBB0001050").x, 94);   // small cells
  EXPECT_EQ(resolve("VDD0001201").x, 358);  // 290 + 68
  EXPECT_EQ(resolve("VDD0001281").x, 482);  // 394 + 88.46
  EXPECT_EQ(resolve("VCC0001005").x, 88);   // big cells
  EXPECT_EQ(resolve("VEE0001012").x, 210);  // 179 + 31
  EXPECT_EQ(resolve("VEE0001021").x, 364);  // 296 + 68
  EXPECT_EQ(resolve("VFF0001029").x, 488);  // 400 + 88.46
}

TEST(WaddressTest, RowsBeyondTheShiftLimitMoveSouth) {
  EXPECT_EQ(resolve("P004901010").y, 238);  // 218 + 20
  EXPECT_EQ(resolve("P004801010").y, 218);
  EXPECT_EQ(resolve("GP00601010").y, 395);
  EXPECT_EQ(resolve("GP00701010").y, 427);  // 395 + 32
}

TEST(WaddressTest, MappingFunctionsLeaveTheSectorEmpty) {
  EXPECT_EQ(ver2::mapping::G_SectorMapping("G000502017").sector, "");
  EXPECT_EQ(ver2::mapping::GP_SectorMapping("GP00301012").sector, "");
  EXPECT_EQ(ver2::mapping::P_SectorMapping("P000203045").sector, "");
  EXPECT_EQ(ver2::mapping::V_SectorMapping("VBB0001150").sector, "");
  EXPECT_EQ(ver2::mapping::G_SectorMapping("G000502017").x, 312);
}

TEST(WaddressTest, PointsCompareEqualByXAndYOnly) {
  SECTOR_ADDR_T a;
  a.sector = "G00";
  a.x = 312;
  a.y = 186;
  a.level = 2;
  SECTOR_ADDR_T b;
  b.sector = "VAA";
  b.x = 312;
  b.y = 186;
  b.xIndex = 9;
  EXPECT_TRUE(a == b);
  b.y = 187;
  EXPECT_FALSE(a == b);
}

TEST(WaddressTest, PointIsAViewOfTheResolvedAddress) {
  WAddress address("P000203045");
  EXPECT_EQ(&address.point(), &address.point());
  EXPECT_EQ(address.point().x, 808);
  EXPECT_EQ(address.point().sector, "P00");
  WAddress copy = address;
  EXPECT_EQ(copy.getRawSectorAddress(), "P000203045");
  EXPECT_EQ(copy.point(), address.point());
}

TEST(WaddressTest, UnknownSectorResolvesToTheAllZeroPoint) {
  SECTOR_ADDR_T p = resolve("X000502017");
  EXPECT_EQ(p.sector, "X00");
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(p.level, 0);
  EXPECT_EQ(p.levelCopy, 0);
  EXPECT_EQ(p.xIndex, 0);
  EXPECT_EQ(p.yIndex, 0);
  EXPECT_EQ(resolve("").sector, "");
  EXPECT_EQ(resolve("Q").sector, "Q");
}

// The standard library's message for a substring starting past the end.
std::string substrMessage(std::size_t pos, std::size_t size) {
  return "basic_string::substr: __pos (which is " + std::to_string(pos) +
         ") > this->size() (which is " + std::to_string(size) + ")";
}

template <typename Exception>
void expectThrowWithMessage(const std::string& text,
                            const std::string& message) {
  SCOPED_TRACE(text);
  try {
    WAddress address(text);
    ADD_FAILURE() << "no exception for " << text;
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), message);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "wrong exception type: " << e.what();
  }
}

TEST(WaddressTest, TooShortTextsThrowOutOfRangeFromSubstr) {
  expectThrowWithMessage<std::out_of_range>("G0", substrMessage(3, 2));
  expectThrowWithMessage<std::out_of_range>("GP", substrMessage(3, 2));
  expectThrowWithMessage<std::out_of_range>("P000", substrMessage(5, 4));
  expectThrowWithMessage<std::out_of_range>("G00050", substrMessage(7, 6));
  expectThrowWithMessage<std::out_of_range>("V", substrMessage(5, 1));
  expectThrowWithMessage<std::out_of_range>("VAA0", substrMessage(5, 4));
  EXPECT_THROW(ver2::mapping::V_SectorMapping(""), std::out_of_range);
}

TEST(WaddressTest, TextsWithoutDigitsThrowInvalidArgumentFromStofOrStoi) {
  expectThrowWithMessage<std::invalid_argument>("G00", "stof");
  expectThrowWithMessage<std::invalid_argument>("G00AB02017", "stof");
  expectThrowWithMessage<std::invalid_argument>("GP0XX01010", "stof");
  expectThrowWithMessage<std::invalid_argument>("G0005XX017", "stoi");
  expectThrowWithMessage<std::invalid_argument>("VAA00  ABC", "stoi");
  expectThrowWithMessage<std::invalid_argument>("P000203ABC", "stof");
  expectThrowWithMessage<std::invalid_argument>("VBB0001", "stof");
  expectThrowWithMessage<std::invalid_argument>("P0001", "stoi");
}

TEST(WaddressTest, NumbersAreReadAsStofAndStoiReadThem) {
  // Leading blanks are skipped; reading stops at the first non-number.
  SECTOR_ADDR_T p = resolve("G00 5 2 17");
  EXPECT_EQ(p.yIndex, 5);
  EXPECT_EQ(p.level, 2);
  EXPECT_EQ(p.xIndex, 17);
  EXPECT_EQ(p.x, 312);
  EXPECT_EQ(p.y, 186);
  EXPECT_EQ(resolve("G0005020170000").x, 312);  // characters past 9 unread
}

TEST(WaddressTest, OddNumbersInTheTextClampInsteadOfOverflowing) {
  // "9e9" and "inf" are numbers to stof; truncation clamps them.
  SECTOR_ADDR_T g = resolve("G0005029e9");
  EXPECT_EQ(g.xIndex, INT_MAX);
  EXPECT_EQ(g.x, INT_MAX);
  SECTOR_ADDR_T p = resolve("P0002039e9");
  EXPECT_EQ(p.yIndex, INT_MAX);
  EXPECT_EQ(p.y, INT_MAX);
  SECTOR_ADDR_T gp = resolve("GP00101inf");
  EXPECT_EQ(gp.yIndex, INT_MAX);
  EXPECT_EQ(gp.y, INT_MAX);
  SECTOR_ADDR_T nan = resolve("G000502nan");
  EXPECT_EQ(nan.xIndex, 0);
  EXPECT_EQ(nan.x, 0);
  EXPECT_EQ(resolve("P0002031e9").yIndex, 1000000000);
}

}  // namespace
