#include "report/markup.h"

#include <cmath>

#include "wave/stats.h"

namespace report {

std::string escape(const std::string& text) {
  std::string safe;
  safe.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        safe += "&amp;";
        break;
      case '<':
        safe += "&lt;";
        break;
      case '>':
        safe += "&gt;";
        break;
      case '"':
        safe += "&quot;";
        break;
      case '\'':
        safe += "&#39;";
        break;
      default:
        safe += c;
    }
  }
  return safe;
}

std::string svgNumber(double value) {
  // Tenths written like decimetres as metres.
  std::string text = stats::metresText(std::llround(value * 10));
  if (text.ends_with(".0")) text.resize(text.size() - 2);
  if (text == "-0") text = "0";
  return text;
}

}  // namespace report
