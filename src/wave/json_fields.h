#pragma once

// Checked readers of the fields of a wave or recorded-picking row. Each
// throws a standard exception for a missing key, a wrong JSON type or a value
// the planning model cannot hold; nothing wraps or turns infinite silently.

#include <cfloat>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace wave_fields {

inline const nlohmann::json& numberAt(const nlohmann::json& row,
                                      const char* key) {
  const nlohmann::json& value = row.at(key);
  if (!value.is_number()) {
    throw std::invalid_argument(std::string("not a number: ") + key);
  }
  return value;
}

// Fractions are truncated toward zero; values outside the int range are
// rejected.
inline int readInt(const nlohmann::json& row, const char* key) {
  using json = nlohmann::json;
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

// A value that is not finite in single precision is rejected.
inline float readFloat(const nlohmann::json& row, const char* key) {
  double v = numberAt(row, key).get<double>();
  if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) {
    throw std::out_of_range(std::string("float out of range: ") + key);
  }
  return static_cast<float>(v);
}

inline std::string readString(const nlohmann::json& row, const char* key) {
  const nlohmann::json& value = row.at(key);
  if (!value.is_string()) {
    throw std::invalid_argument(std::string("not a string: ") + key);
  }
  return value.get<std::string>();
}

}  // namespace wave_fields
