#include "wave/helper.h"

#include <filesystem>
#include <fstream>
#include <system_error>

nlohmann::json readJsonFromFile(std::string path) {
  std::ifstream in(path);
  nlohmann::json document;
  in >> document;  // stops after the first complete value
  return document;
}

bool writeFileWhole(const std::string& path, const std::string& text) {
  std::filesystem::path temporary = path + ".tmp";
  std::error_code ignored;
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, path, renamed);
  if (renamed) std::filesystem::remove(temporary, ignored);
  return !renamed;
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
