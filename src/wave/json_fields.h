#pragma once

// Checked readers of the fields of a wave or recorded-picking row. Each
// throws std::invalid_argument naming the key, the value and the reason
// ("\"Qty\" -0.5: below 0") for a row that is no object, a missing key, a
// wrong JSON type or a value the planning model cannot hold; nothing wraps or
// turns infinite silently.

#include <cfloat>
#include <climits>
#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "geometry/address_check.h"

namespace wave_fields {

// Whether containers nest deeper than `limit` levels in the value. Walks
// without recursion, so any depth is safe to ask about.
inline bool nestedDeeperThan(const nlohmann::json& value, std::size_t limit) {
  std::vector<std::pair<const nlohmann::json*, std::size_t>> open = {
      {&value, 1}};
  while (!open.empty()) {
    const auto [node, depth] = open.back();
    open.pop_back();
    if (!node->is_structured()) continue;
    if (depth > limit) return true;
    for (const nlohmann::json& child : *node) {
      open.emplace_back(&child, depth + 1);
    }
  }
  return false;
}

// A value as messages show it: its JSON text (invalid UTF-8 replaced), cut
// after 40 characters with the full length added, so that a 10 MB text
// stays readable. A value nested too deep to write out (the writer recurses
// per level) is described instead.
inline std::string shownValue(const nlohmann::json& value) {
  constexpr std::size_t kShownDepth = 200;
  if (nestedDeeperThan(value, kShownDepth)) {
    return std::string(value.is_array() ? "an array" : "an object") +
           " nested more than " + std::to_string(kShownDepth) + " levels deep";
  }
  std::string text =
      value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  constexpr std::size_t kShown = 40;
  if (text.size() <= kShown + 20) return text;
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
    --cut;  // not inside a UTF-8 sequence
  }
  const std::size_t length = value.is_string()
                                 ? value.get_ref<const std::string&>().size()
                                 : text.size();
  return text.substr(0, cut) + (value.is_string() ? "...\"" : "...") + " (" +
         std::to_string(length) + " characters)";
}

// The JSON library's message without its "[json.exception...] " tag.
inline std::string jsonReason(const std::exception& e) {
  std::string text = e.what();
  if (text.starts_with("[json.exception.")) {
    std::size_t end = text.find("] ");
    if (end != std::string::npos) text.erase(0, end + 2);
  }
  return text;
}

// "\"Key\" value", as messages name a field.
inline std::string fieldText(const char* key, const nlohmann::json& value) {
  return std::string("\"") + key + "\" " + shownValue(value);
}

inline const nlohmann::json& valueAt(const nlohmann::json& row,
                                     const char* key) {
  if (!row.is_object()) {
    throw std::invalid_argument("not an object but " + shownValue(row));
  }
  auto found = row.find(key);
  if (found == row.end()) {
    throw std::invalid_argument(std::string("\"") + key + "\": missing");
  }
  return *found;
}

inline const nlohmann::json& numberAt(const nlohmann::json& row,
                                      const char* key) {
  const nlohmann::json& value = valueAt(row, key);
  if (!value.is_number()) {
    throw std::invalid_argument(fieldText(key, value) + ": not a number");
  }
  return value;
}

// Fractions are truncated toward zero; values outside the int range are
// rejected.
inline int readInt(const nlohmann::json& row, const char* key) {
  const nlohmann::json& value = numberAt(row, key);
  const double truncated = std::trunc(value.get<double>());
  if (!std::isfinite(truncated) || truncated > INT_MAX || truncated < INT_MIN) {
    throw std::invalid_argument(fieldText(key, value) +
                                ": outside the int range");
  }
  return static_cast<int>(truncated);
}

// As readInt, and rejected when the value as given (before truncating, so
// -0.5 is below 0) is below low, or once truncated above high.
inline int readIntWithin(const nlohmann::json& row,
                         const char* key,
                         int low,
                         int high) {
  const int truncated = readInt(row, key);
  const nlohmann::json& value = row.at(key);
  if (value.get<double>() < low) {
    throw std::invalid_argument(fieldText(key, value) + ": below " +
                                std::to_string(low));
  }
  if (truncated > high) {
    throw std::invalid_argument(fieldText(key, value) + ": above " +
                                std::to_string(high));
  }
  return truncated;
}

// A value that is not finite in single precision is rejected.
inline float readFloat(const nlohmann::json& row, const char* key) {
  const nlohmann::json& value = numberAt(row, key);
  const double v = value.get<double>();
  if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) {
    throw std::invalid_argument(fieldText(key, value) +
                                ": not a finite single-precision number");
  }
  return static_cast<float>(v);
}

inline std::string readString(const nlohmann::json& row, const char* key) {
  const nlohmann::json& value = valueAt(row, key);
  if (!value.is_string()) {
    throw std::invalid_argument(fieldText(key, value) + ": not a string");
  }
  return value.get<std::string>();
}

// The "AddressCode" text, rejected unless it has the form of a storage
// address (ver2::mapping::addressFormatError).
inline std::string readAddress(const nlohmann::json& row) {
  std::string text = readString(row, "AddressCode");
  if (auto error = ver2::mapping::addressFormatError(text)) {
    throw std::invalid_argument(fieldText("AddressCode", text) + ": " + *error);
  }
  return text;
}

}  // namespace wave_fields
