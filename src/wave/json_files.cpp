#include "wave/json_files.h"

#include <fstream>

nlohmann::json readJsonFromFile(std::string path) {
  std::ifstream in(path);
  nlohmann::json document;
  in >> document;  // stops after the first complete value
  return document;
}

namespace {
void lineForm(nlohmann::json& j, const OItem& line, int qty) {
  j = nlohmann::json{{"Address", line.addressCode},
                     {"Customer", line.customerID},
                     {"Product", line.productID},
                     {"Qty", qty}};
}
}  // namespace

void to_json(nlohmann::json& j, const OItem& line) {
  lineForm(j, line, line.qty);
}

void to_json(nlohmann::json& j, const CartOItem& line) {
  lineForm(j, line.oItem, line.realQty);
}

void to_json(nlohmann::json& j, const BoxItem& piece) {
  lineForm(j, piece.oItem, piece.countOfUnits);
}
