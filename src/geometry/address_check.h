#pragma once

// Checks of a storage address text before it is resolved: whether it has the
// form of an address at all, and whether its row and cell lie among the racks
// the floor plan draws. The mapping itself checks nothing; a text that fails
// the first check would resolve to a meaningless point (or make the mapping
// throw), one that fails the second to a point beyond the racks.

#include <optional>
#include <string>

namespace ver2::mapping {

// Why text is no storage address ("unknown sector", "has 11 characters, not
// 10", "no digits at positions 5-6 (level)"), or nothing when it has the
// form: ten characters, a sector code beginning with G (GP for sector GP), P,
// or V and a row letter, then digits for the row (positions 3-4, not read in
// sector V), the level (5-6) and the cell (7-9).
std::optional<std::string> addressFormatError(const std::string& text);

// For a text of that form: why it lies outside the floor plan's racks
// ("row 99 lies outside the floor plan: sector G has rows 0 to 40"), or
// nothing when its row and cell are drawn there.
std::optional<std::string> outsideFloorPlan(const std::string& text);

}  // namespace ver2::mapping
