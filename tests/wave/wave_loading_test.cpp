#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/json_files.h"
#include "wave/wave_text.h"

namespace {

const char* kErrorLine =
    "ERROR> bad path or text or json doesnt include required values\n";

std::string row(int customer,
                int product,
                const std::string& address,
                const std::string& qty,
                int unit,
                int contentQty,
                const std::string& x = "10",
                const std::string& extra = "") {
  return "{\"Customer\":" + std::to_string(customer) +
         ",\"Product\":" + std::to_string(product) + ",\"AddressCode\":\"" +
         address + "\",\"Qty\":" + qty + ",\"Unit\":" + std::to_string(unit) +
         ",\"PackageType\":1,\"ContentQty\":" + std::to_string(contentQty) +
         ",\"X\":" + x + ",\"Y\":20,\"Z\":30,\"Weight\":0.5" + extra + "}";
}

struct LoadResult {
  std::size_t lines;
  std::string stderrText;
};

LoadResult load(CartsLoader& loader, const std::string& source) {
  testing::internal::CaptureStderr();
  loader.loadItemsAndSpec(source);
  std::string err = testing::internal::GetCapturedStderr();
  return {loader.getItems().size(), err};
}

class WaveLoadingTest : public testing::Test {
 protected:
  Warehouse warehouse;
  CartsLoader loader{warehouse};
  void TearDown() override { is_debug_on = false; }
};

TEST_F(WaveLoadingTest, MergesRowsByCustomerAndProductInAscendingOrder) {
  std::string wave = "[" + row(7, 2, "G000502017", "1", 0, 1) + "," +
                     row(3, 9, "VCC0001005", "2", 0, 1) + "," +
                     row(7, 1, "P000101010", "4.9", 0, 1) + "]";
  LoadResult r = load(loader, wave);
  EXPECT_EQ(r.stderrText, "");
  ASSERT_EQ(r.lines, 3u);
  const auto& items = loader.getItems();
  EXPECT_EQ(items[0].customerID, 3);
  EXPECT_EQ(items[0].productID, 9);
  EXPECT_EQ(items[1].customerID, 7);
  EXPECT_EQ(items[1].productID, 1);
  EXPECT_EQ(items[1].qty, 4);  // 4.9 truncated
  EXPECT_EQ(items[2].productID, 2);
  EXPECT_EQ(items[2].location().x, 312);
}

TEST_F(WaveLoadingTest, SecondRowOfAPairAddsItsSpecificationOnly) {
  std::string wave = "[" + row(1, 5, "G000502017", "5", 0, 1, "10") + "," +
                     row(1, 5, "VCC0001005", "9", 1, 6, "40") + "," +
                     row(1, 5, "VCC0001005", "9", 0, 1, "77") + "]";
  load(loader, wave);
  ASSERT_EQ(loader.getItems().size(), 1u);
  const OItem& line = loader.getItems()[0];
  EXPECT_EQ(line.qty, 5);
  EXPECT_EQ(line.addressCode, "G000502017");
  ASSERT_EQ(line.itemSpecifications.size(), 2u);
  EXPECT_FLOAT_EQ(line.itemSpecifications.at(ItemSpecification::Unit).x, 10);
  EXPECT_EQ(line.itemSpecifications.at(ItemSpecification::Package).contentQty,
            6);
}

TEST_F(WaveLoadingTest, PathAndTextLoadTheSameLines) {
  std::string wave = "[" + row(1, 5, "G000502017", "5", 0, 1) + "," +
                     row(2, 6, "GP00301012", "1", 0, 1) + "]";
  auto path = testing_support::uniqueTempPath("dalvenor_wave");
  std::ofstream(path) << wave;
  load(loader, path.string());
  auto fromFile = loader.getItems();
  load(loader, wave);
  ASSERT_EQ(fromFile.size(), loader.getItems().size());
  for (std::size_t i = 0; i < fromFile.size(); ++i) {
    EXPECT_EQ(fromFile[i].customerID, loader.getItems()[i].customerID);
    EXPECT_EQ(fromFile[i].addressCode, loader.getItems()[i].addressCode);
  }
  std::filesystem::remove(path);
}

TEST_F(WaveLoadingTest, EmptyWavesLoadNothingWithoutError) {
  is_debug_on = true;
  for (const char* wave : {"[]", "null", "{}"}) {
    LoadResult r = load(loader, wave);
    EXPECT_EQ(r.lines, 0u) << wave;
    EXPECT_EQ(r.stderrText, "TOTAL NUMBER OF ITEMS IN ORDER> 0\n") << wave;
  }
}

TEST_F(WaveLoadingTest, RowsOfAnObjectAreItsMemberValues) {
  std::string wave = "{\"a\":" + row(1, 5, "G000502017", "5", 0, 1) + "}";
  EXPECT_EQ(load(loader, wave).lines, 1u);
}

TEST_F(WaveLoadingTest, DebugLineCountsTheLoadedLines) {
  is_debug_on = true;
  std::string wave = "[" + row(1, 5, "G000502017", "5", 0, 1) + "]";
  EXPECT_EQ(load(loader, wave).stderrText,
            "TOTAL NUMBER OF ITEMS IN ORDER> 1\n");
}

// The reason names the file; its rows are numbered from 1.
TEST_F(WaveLoadingTest, AFileOfInvalidJsonWritesTheErrorLineOnce) {
  auto path = testing_support::uniqueTempPath("dalvenor_bad");
  std::ofstream(path) << "[{\"Customer\":";
  LoadResult r = load(loader, path.string());
  EXPECT_EQ(r.lines, 0u);
  EXPECT_EQ(r.stderrText, kErrorLine);
  EXPECT_EQ(loader.lastLoadError(),
            path.string() +
                ": no valid JSON: parse error at line 1, column 14: syntax "
                "error while parsing value - unexpected end of input; "
                "expected '[', '{', or a literal");
  std::ofstream(path) << "[" + row(1, 5, "G000502017", "5", 0, 1) + "," +
                             row(1, 6, "X000104018", "1", 0, 1) + "]";
  load(loader, path.string());
  EXPECT_EQ(
      loader.lastLoadError(),
      path.string() + " row 2: \"AddressCode\" \"X000104018\": unknown sector");
  load(loader, path.parent_path().string());
  EXPECT_EQ(loader.lastLoadError(),
            path.parent_path().string() + ": is a folder, not a wave file");
  load(loader, "[]");
  EXPECT_EQ(loader.lastLoadError(), "");
  std::filesystem::remove(path);
}

TEST(ReadJsonFromFileTest, StopsAfterTheFirstValueAndThrowsForMissingFiles) {
  auto path = testing_support::uniqueTempPath("dalvenor_two");
  std::ofstream(path) << "[1,2] trailing text";
  EXPECT_EQ(readJsonFromFile(path.string()), nlohmann::json({1, 2}));
  std::filesystem::remove(path);
  EXPECT_THROW(readJsonFromFile("/no/such/file.json"),
               nlohmann::json::parse_error);
}

}  // namespace

namespace {

TEST(WaveLoadingLimitsTest, QuantitiesUpToTheLineLimitLoad) {
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  std::string wave = "[" + row(1, 5, "G000502017", "100000", 0, 1) + "," +
                     row(1, 6, "G000502017", "0", 0, 1) + "]";
  EXPECT_EQ(load(loader, wave).lines, 2u);
}

}  // namespace
