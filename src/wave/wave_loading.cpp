// Loading a wave file (or its JSON text) into the loader's order lines.

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "geometry/address_check.h"
#include "wave/carts_loader.h"
#include "wave/dalvenor_debug.h"
#include "wave/json_fields.h"
#include "wave/json_files.h"

namespace {

// Every unit of a line becomes a piece to pack: a line of more units than
// this is no picking order, and would exhaust memory and time.
constexpr int kMaxLineQuantity = 100000;

using nlohmann::json;
using wave_fields::readFloat;
using wave_fields::readInt;

// A wave's rows and the name messages give their source: the path of the
// wave file, or "wave text" for JSON text given in its place.
struct WaveDocument {
  json rows;
  std::string name;
};

// Why an existing file system entry cannot serve as a wave file, or nothing
// when it reads as JSON (then `document` holds it).
std::optional<std::string> readWaveFile(const std::string& path,
                                        json& document) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    return std::string("is a folder, not a wave file");
  }
  if (!std::ifstream(path)) return std::string("cannot be opened");
  try {
    document = readJsonFromFile(path);
    return std::nullopt;
  } catch (const std::exception& e) {
    return "no valid JSON: " + wave_fields::jsonReason(e);
  }
}

// A file path when such an entry exists and reads as JSON, otherwise the JSON
// text itself (whole, without comments). Throws std::invalid_argument naming
// the source and why neither works.
WaveDocument readWaveDocument(const std::string& source) {
  std::optional<std::string> fileProblem;
  std::error_code ec;
  if (std::filesystem::exists(source, ec)) {
    json document;
    fileProblem = readWaveFile(source, document);
    if (!fileProblem) return {std::move(document), source};
  }
  try {
    return {json::parse(source, nullptr, true, false), "wave text"};
  } catch (const std::exception& e) {
    if (fileProblem) throw std::invalid_argument(source + ": " + *fileProblem);
    // Text that opens like JSON, or is too long for a path, was meant as
    // the wave itself.
    const std::size_t first = source.find_first_not_of(" \t\r\n");
    if (source.size() > PATH_MAX ||
        (first != std::string::npos &&
         std::string("[{\"").find(source[first]) != std::string::npos)) {
      throw std::invalid_argument("wave text: no valid JSON: " +
                                  wave_fields::jsonReason(e));
    }
    throw std::invalid_argument(source + ": no such file, nor JSON text");
  }
}

// What a row gives for a (customer, product, unit type): its number (from
// 1), quantity and address.
struct RowFacts {
  std::size_t number;
  int qty;
  std::string address;
};
using RowKey = std::tuple<int, int, int>;  // customer, product, unit type

// One WARNING line when a later row of the same customer, product and unit
// type gives another quantity or address than the first one, which is kept.
std::optional<std::string> disagreement(const std::string& source,
                                        const RowKey& key,
                                        const RowFacts& first,
                                        const RowFacts& later) {
  std::string differs;
  if (later.qty != first.qty) {
    differs = "\"Qty\" " + std::to_string(first.qty) + " and " +
              std::to_string(later.qty);
  }
  if (later.address != first.address) {
    differs += (differs.empty() ? "" : ", ") + std::string("\"AddressCode\" ") +
               wave_fields::shownValue(first.address) + " and " +
               wave_fields::shownValue(later.address);
  }
  if (differs.empty()) return std::nullopt;
  const auto& [customer, product, unit] = key;
  return "WARNING: " + source + " rows " + std::to_string(first.number) +
         " and " + std::to_string(later.number) + ": customer " +
         std::to_string(customer) + ", product " + std::to_string(product) +
         ", \"Unit\" " + std::to_string(unit) + " given twice with " + differs +
         "; row " + std::to_string(first.number) + " is kept";
}

// The checked fields of one row.
struct ParsedRow {
  int customer;
  int product;
  std::string address;
  int qty;
  int unit;
  ItemSpecification spec;
};

// Reads one row's fields in a fixed order; the first missing or bad one
// throws std::invalid_argument naming the key, the value and the reason.
ParsedRow parseRow(const json& row) {
  int customer = readInt(row, "Customer");
  int product = readInt(row, "Product");
  std::string address = wave_fields::readAddress(row);
  int qty = wave_fields::readIntWithin(row, "Qty", 0, kMaxLineQuantity);
  int unit = readInt(row, "Unit");
  if (unit != ItemSpecification::Unit && unit != ItemSpecification::Package) {
    throw std::invalid_argument(wave_fields::fieldText("Unit", unit) +
                                ": neither 0 (unit) nor 1 (package)");
  }
  ItemSpecification spec(product, static_cast<ItemSpecification::Type>(unit),
                         readInt(row, "PackageType"),
                         readInt(row, "ContentQty"), readFloat(row, "X"),
                         readFloat(row, "Y"), readFloat(row, "Z"),
                         readFloat(row, "Weight"));
  return {customer, product, std::move(address), qty, unit, std::move(spec)};
}

// Reads the rows into order lines merged by (customer, product), ascending.
// Throws std::invalid_argument naming the source, row number (from 1), key,
// value and reason for the first bad row; appends the warnings of a
// well-formed wave to `warnings`.
std::vector<OItem> readOrderLines(const json& rows,
                                  const std::string& source,
                                  std::vector<std::string>* warnings) {
  std::map<std::pair<int, int>, OItem> lines;
  std::map<RowKey, RowFacts> firstRows;
  std::set<std::string> warnedAddresses;
  std::size_t number = 0;
  for (const json& row : rows) {
    ++number;
    const std::string where = source + " row " + std::to_string(number);
    try {
      ParsedRow parsed = parseRow(row);
      const int customer = parsed.customer;
      const int product = parsed.product;
      std::string address = std::move(parsed.address);
      const int qty = parsed.qty;
      const int unit = parsed.unit;
      const ItemSpecification& spec = parsed.spec;
      auto outside = ver2::mapping::outsideFloorPlan(address);
      if (outside && warnedAddresses.insert(address).second) {
        warnings->push_back("WARNING: " + where + ": " +
                            wave_fields::fieldText("AddressCode", address) +
                            ": " + *outside);
      }
      const RowKey rowKey{customer, product, unit};
      const RowFacts facts{number, qty, address};
      auto [first, isFirst] = firstRows.try_emplace(rowKey, facts);
      if (!isFirst) {
        if (auto warning = disagreement(source, rowKey, first->second, facts)) {
          warnings->push_back(*warning);
        }
      }
      auto key = std::make_pair(customer, product);
      auto found = lines.find(key);
      if (found != lines.end()) {
        found->second.addItemSpecification(spec);
      } else {
        OItem line(customer, product, std::move(address), qty);
        line.addItemSpecification(spec);
        lines.emplace(key, std::move(line));
      }
    } catch (const std::exception& e) {
      throw std::invalid_argument(where + ": " + e.what());
    }
  }
  std::vector<OItem> loaded;
  loaded.reserve(lines.size());
  for (auto& entry : lines) loaded.push_back(std::move(entry.second));
  return loaded;
}

}  // namespace

void CartsLoader::loadItemsAndSpec(std::string source) {
  loadFrom([&](std::vector<std::string>* warnings) {
    const WaveDocument document = readWaveDocument(source);
    return readOrderLines(document.rows, document.name, warnings);
  });
}

void CartsLoader::loadItemsFromRows(const nlohmann::json& rows,
                                    const std::string& source) {
  loadFrom([&](std::vector<std::string>* warnings) {
    return readOrderLines(rows, source, warnings);
  });
}

void CartsLoader::loadFrom(
    const std::function<std::vector<OItem>(std::vector<std::string>*)>&
        readLines) {
  items.clear();
  loadSucceeded = false;
  loadError.clear();
  std::vector<std::string> warnings;
  try {
    items = readLines(&warnings);
    loadSucceeded = true;
  } catch (const std::exception& e) {
    items.clear();
    loadError = e.what();
    std::cerr
        << "ERROR> bad path or text or json doesnt include required values"
        << '\n';
    return;
  }
  for (const std::string& warning : warnings) std::cerr << warning << '\n';
  if (is_debug_on) {
    std::fprintf(stderr, "TOTAL NUMBER OF ITEMS IN ORDER> %li\n",
                 static_cast<long>(items.size()));
  }
}
