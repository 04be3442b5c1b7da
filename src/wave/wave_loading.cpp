// Loading a wave file (or its JSON text) into the loader's order lines.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <utility>

#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/helper.h"
#include "wave/json_fields.h"

namespace {

// Every unit of a line becomes a piece to pack: a line of more units than
// this is no picking order, and would exhaust memory and time.
constexpr int kMaxLineQuantity = 100000;

using nlohmann::json;
using wave_fields::readFloat;
using wave_fields::readInt;
using wave_fields::readString;

json readWaveDocument(const std::string& source) {
  try {
    if (std::filesystem::exists(source)) return readJsonFromFile(source);
  } catch (...) {
    // Not a readable file: the source may be the JSON text itself.
  }
  return json::parse(source, nullptr, true, false);
}

}  // namespace

void CartsLoader::loadItemsAndSpec(std::string source) {
  items.clear();
  loadSucceeded = false;
  try {
    json document = readWaveDocument(source);
    std::map<std::pair<int, int>, OItem> lines;
    for (const json& row : document) {
      if (!row.is_object()) throw std::invalid_argument("row is not an object");
      int customer = readInt(row, "Customer");
      int product = readInt(row, "Product");
      std::string address = readString(row, "AddressCode");
      int qty = readInt(row, "Qty");
      if (qty < 0 || qty > kMaxLineQuantity) {
        throw std::out_of_range("Qty outside 0 to " +
                                std::to_string(kMaxLineQuantity));
      }
      // Built for every row, so every row's address is parsed (and may
      // reject the wave) even when an earlier row of the pair is kept.
      OItem line(customer, product, std::move(address), qty);
      int unit = readInt(row, "Unit");
      if (unit != ItemSpecification::Unit && unit != ItemSpecification::Package) {
        throw std::out_of_range("Unit must be 0 or 1");
      }
      int packageType = readInt(row, "PackageType");
      int contentQty = readInt(row, "ContentQty");
      float x = readFloat(row, "X");
      float y = readFloat(row, "Y");
      float z = readFloat(row, "Z");
      float weight = readFloat(row, "Weight");
      ItemSpecification spec(
          product, static_cast<ItemSpecification::Type>(unit), packageType,
          contentQty, x, y, z, weight);
      auto key = std::make_pair(customer, product);
      auto found = lines.find(key);
      if (found != lines.end()) {
        found->second.addItemSpecification(spec);
      } else {
        line.addItemSpecification(spec);
        lines.emplace(key, std::move(line));
      }
    }
    std::vector<OItem> loaded;
    loaded.reserve(lines.size());
    for (auto& entry : lines) loaded.push_back(std::move(entry.second));
    items = std::move(loaded);
    loadSucceeded = true;
  } catch (const std::exception&) {
    items.clear();
    std::cerr << "ERROR> bad path or text or json doesnt include required values"
              << '\n';
    return;
  }
  if (is_debug_on) {
    std::fprintf(stderr, "TOTAL NUMBER OF ITEMS IN ORDER> %li\n",
                 static_cast<long>(items.size()));
  }
}
