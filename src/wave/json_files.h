#pragma once

// Reading a JSON document from a file, and the JSON forms of the order lines
// the plan and the recorded walks export.

#include <nlohmann/json.hpp>
#include <string>

#include "model/box_item.h"
#include "model/cart_oitem.h"
#include "model/oitem.h"

// Parses one JSON value from the file; throws nlohmann::json::parse_error when
// the file cannot be opened or holds no valid JSON.
nlohmann::json readJsonFromFile(std::string path);

// {"Address", "Customer", "Product", "Qty"} forms of the three line types.
void to_json(nlohmann::json& j, const OItem& line);
void to_json(nlohmann::json& j, const CartOItem& line);
void to_json(nlohmann::json& j, const BoxItem& piece);
