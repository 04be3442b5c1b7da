#include "packing/packing_statements.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <system_error>

namespace bp_solver::bridge {

std::string formatNumber(float value) {
  // Six decimals of a float need at most 39 integer digits plus sign, point
  // and decimals; "nan" and "inf" are shorter.
  std::array<char, 64> buffer{};
  auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                    std::chars_format::fixed, 6);
  if (error != std::errc()) throw std::runtime_error("Cannot format a number");
  return std::string(buffer.data(), end);
}

std::string formatNumber(int value) {
  std::array<char, 16> buffer{};
  auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (error != std::errc()) throw std::runtime_error("Cannot format a number");
  return std::string(buffer.data(), end);
}

std::string pythonStringLiteral(const std::string& text) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string literal = "'";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        literal += "\\\\";
        break;
      case '\'':
        literal += "\\'";
        break;
      case '\n':
        literal += "\\n";
        break;
      case '\r':
        literal += "\\r";
        break;
      case '\t':
        literal += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          literal += "\\x";
          literal += hex[byte >> 4];
          literal += hex[byte & 0xf];
        } else {
          literal += c;  // UTF-8 bytes pass through as the source encoding
        }
    }
  }
  return literal + "'";
}

namespace {

// "'name':'...','width':...,'height':...,'depth':...,'max-weight':..."
std::string boxFields(const Box& box) {
  return "'name':" + pythonStringLiteral(box.name) +
         ",'width':" + formatNumber(box.width) +
         ",'height':" + formatNumber(box.height) +
         ",'depth':" + formatNumber(box.depth) +
         ",'max-weight':" + formatNumber(box.maxWeight);
}

// "'product_no':...,'type':...,'x':...,'y':...,'z':...,'weight':...,"
std::string pieceFields(const BoxItem& piece) {
  const ItemSpecification& spec = piece.itemSpecification;
  return "'product_no':" + formatNumber(piece.oItem.productID) + ",'type':" +
         (spec.type == ItemSpecification::Unit ? "'unit'" : "'pack'") +
         ",'x':" + formatNumber(spec.x) + ",'y':" + formatNumber(spec.y) +
         ",'z':" + formatNumber(spec.z) +
         ",'weight':" + formatNumber(spec.weight) + ",";
}

}  // namespace

std::string boxStatement(const Box& box) {
  return "bin = {" + boxFields(box) + "}";
}

std::string boxStatementWithVolume(const Box& box) {
  return "bins.append({" + boxFields(box) +
         ",'volume':" + formatNumber(box.getCapacity()) + ",})";
}

std::string boxStatementWithCount(const Box& box, int count) {
  return "bins.append({" + boxFields(box) + ",'count':" + formatNumber(count) +
         ",})";
}

std::string pieceStatement(const BoxItem& piece) {
  return "items.append({" + pieceFields(piece) + "})";
}

std::string pieceStatementWithVolume(const BoxItem& piece) {
  return "items.append({" + pieceFields(piece) +
         "'volume':" + formatNumber(piece.itemSpecification.volume) + "})";
}

}  // namespace bp_solver::bridge
