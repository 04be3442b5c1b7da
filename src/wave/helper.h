#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "model/box_item.h"
#include "model/cart_oitem.h"
#include "model/oitem.h"

// Parses one JSON value from the file; throws nlohmann::json::parse_error when
// the file cannot be opened or holds no valid JSON.
nlohmann::json readJsonFromFile(std::string path);

// Writes text to path through a temporary file renamed into place, so a
// failed write (a full disk, a folder in the way) never leaves a half-written
// file. False when the text could not be written.
bool writeFileWhole(const std::string& path, const std::string& text);

// {"Address", "Customer", "Product", "Qty"} forms of the three line types.
void to_json(nlohmann::json& j, const OItem& line);
void to_json(nlohmann::json& j, const CartOItem& line);
void to_json(nlohmann::json& j, const BoxItem& piece);
