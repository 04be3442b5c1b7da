// Loading a wave file (or its JSON text) into the loader's order lines.

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <utility>

#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/helper.h"

namespace {

using nlohmann::json;

const json& numberAt(const json& row, const char* key) {
  const json& value = row.at(key);
  if (!value.is_number()) {
    throw std::invalid_argument(std::string("not a number: ") + key);
  }
  return value;
}

// An int key: fractions are truncated toward zero; values outside the int
// range are rejected rather than wrapped.
int readInt(const json& row, const char* key) {
  const json& value = numberAt(row, key);
  if (value.is_number_unsigned()) {
    auto v = value.get<json::number_unsigned_t>();
    if (v > static_cast<json::number_unsigned_t>(INT_MAX)) {
      throw std::out_of_range(std::string("int out of range: ") + key);
    }
    return static_cast<int>(v);
  }
  if (value.is_number_integer()) {
    auto v = value.get<json::number_integer_t>();
    if (v > INT_MAX || v < INT_MIN) {
      throw std::out_of_range(std::string("int out of range: ") + key);
    }
    return static_cast<int>(v);
  }
  double v = std::trunc(value.get<double>());
  if (!std::isfinite(v) || v > INT_MAX || v < INT_MIN) {
    throw std::out_of_range(std::string("int out of range: ") + key);
  }
  return static_cast<int>(v);
}

// A float key: a value that is not finite in single precision is rejected.
float readFloat(const json& row, const char* key) {
  double v = numberAt(row, key).get<double>();
  if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) {
    throw std::out_of_range(std::string("float out of range: ") + key);
  }
  return static_cast<float>(v);
}

std::string readString(const json& row, const char* key) {
  const json& value = row.at(key);
  if (!value.is_string()) {
    throw std::invalid_argument(std::string("not a string: ") + key);
  }
  return value.get<std::string>();
}

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
  try {
    json document = readWaveDocument(source);
    std::map<std::pair<int, int>, OItem> lines;
    for (const json& row : document) {
      if (!row.is_object()) throw std::invalid_argument("row is not an object");
      int customer = readInt(row, "Customer");
      int product = readInt(row, "Product");
      std::string address = readString(row, "AddressCode");
      int qty = readInt(row, "Qty");
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
        OItem line(customer, product, address, qty);
        line.addItemSpecification(spec);
        lines.emplace(key, std::move(line));
      }
    }
    std::vector<OItem> loaded;
    loaded.reserve(lines.size());
    for (auto& entry : lines) loaded.push_back(std::move(entry.second));
    items = std::move(loaded);
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
