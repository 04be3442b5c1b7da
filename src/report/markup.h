#pragma once

// Small text helpers of the HTML report.

#include <string>

namespace report {

// Text safe inside HTML elements and quoted attribute values.
std::string escape(const std::string& text);

// A length for SVG attributes: rounded to one decimal, without a trailing
// ".0".
std::string svgNumber(double value);

}  // namespace report
