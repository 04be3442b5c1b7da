#pragma once

// The statement texts that describe boxes and pieces to the 3D packing
// scripts (run by a python_session.h Session): numbers and strings as Python
// reads them, and one dict statement per box type or piece.

#include <string>

#include "model/box.h"
#include "model/box_item.h"

namespace bp_solver::bridge {

// Numbers as statements write them, independent of any locale: a float in
// fixed notation with six decimals and a point (28 -> "28.000000"), an int in
// plain decimal.
std::string formatNumber(float value);
std::string formatNumber(int value);

// A Python string literal in single quotes holding exactly the given bytes:
// backslash, quote and control characters are escaped, so "masterBox" gives
// 'masterBox' and "Joe's" gives 'Joe\'s'.
std::string pythonStringLiteral(const std::string& text);

// "bin = {'name':'masterBox','width':28.000000,...,'max-weight':4000.000000}"
std::string boxStatement(const Box& box);
// "bins.append({...,'max-weight':...,'volume':<capacity>,})"
std::string boxStatementWithVolume(const Box& box);
// "bins.append({...,'max-weight':...,'count':<count>,})"
std::string boxStatementWithCount(const Box& box, int count);
// "items.append({'product_no':1234,'type':'pack','x':...,'weight':...,})"
std::string pieceStatement(const BoxItem& piece);
// As pieceStatement, then "'volume':<volume>})" after the weight's comma.
std::string pieceStatementWithVolume(const BoxItem& piece);

}  // namespace bp_solver::bridge
