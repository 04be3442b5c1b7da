// The distance oracle: dispatch by the two sector codes to an
// in-sector measure or to one of the six walks between sectors, which pass
// through the exit points of the floor plan.

#include "geometry/warehouse.h"

#include <array>
#include <utility>

#include "geometry/layout.h"
#include "geometry/measuring_detail.h"

namespace {

// Character i (0 or 1) of a sector code; '\0' beyond the end of a shorter
// code, which matches none of 'G', 'V', 'P'.
char codeAt(const std::string& code, std::size_t i) {
  return i < code.size() ? code[i] : '\0';
}

bool isGP(const SECTOR_ADDR_T& p) {
  return codeAt(p.sector, 0) == 'G' && codeAt(p.sector, 1) == 'P';
}

bool beginsWith(const SECTOR_ADDR_T& p, char c) {
  return codeAt(p.sector, 0) == c;
}

// The P exits in the order the walks try them. P_middle_exit equals
// P_north_exit, so only two distinct points take part.
const std::array<const GRAPH_POINT_T*, 3> kPExits = {
    &secP::P_north_exit, &secP::P_middle_exit, &secP::P_south_exit};

}  // namespace

namespace ver2::measuring::detail {

int getDistanceBetweenSectors_G_V(const SECTOR_ADDR_T& first,
                                  const SECTOR_ADDR_T& second) {
  const SECTOR_ADDR_T* a = &first;  // the G point
  const SECTOR_ADDR_T* b = &second;
  if (!beginsWith(*a, 'G')) std::swap(a, b);
  // G row 0 and V row E face each other across the boundary corridor.
  if (a->yIndex == 0 && b->yIndex == 4) return clampToInt(euclidean(*a, *b));
  if (a->x > b->x) std::swap(a, b);

  // The bay of a value: the first interval of G's cross corridors holding
  // it; west of the first line is bay 0, east of the last the last bay.
  const std::vector<int>& vc = secG::vertical_corridors;
  const std::size_t lastBay = vc.size() - 2;
  auto bayOf = [&](int v) {
    for (std::size_t i = 0; i <= lastBay; ++i) {
      if (vc[i] <= v && v <= vc[i + 1]) return i;
    }
    return v < vc.front() ? std::size_t{0} : lastBay;
  };
  std::size_t i = bayOf(a->x);
  Wide dy = absDiff(a->y, b->y);
  if (bayOf(b->x) != i) return narrow(absDiff(a->x, b->x) + dy);
  Wide west = (Wide{a->x} - vc[i]) + (Wide{b->x} - vc[i]);
  Wide east = (Wide{vc[i + 1]} - a->x) + (Wide{vc[i + 1]} - b->x);
  // The first bay always uses its eastern corridor, the last its western.
  bool useWest = (west < east && i != 0) || i == lastBay;
  return narrow((useWest ? west : east) + dy);
}

int getDistanceBetweenSectors_G_P(const SECTOR_ADDR_T& first,
                                  const SECTOR_ADDR_T& second) {
  const SECTOR_ADDR_T* a = &first;  // the G point
  const SECTOR_ADDR_T* b = &second;
  if (beginsWith(*a, 'P')) std::swap(a, b);
  const GRAPH_POINT_T& north = secG::G_north_exit;
  const GRAPH_POINT_T& lower = secG::G_lower_exit;
  const int lastLine = secG::vertical_corridors.back();  // 572

  // East of the last cross corridor the walk goes back to it first.
  Wide toNorth = a->x > lastLine
                     ? (Wide{a->x} - lastLine) + (north.x - lastLine)
                     : absDiff(a->x, north.x);
  toNorth += absDiff(a->y, north.y);
  Wide toLower = orthogonal(*a, lower);

  Wide viaLower = INT_INFINITY;
  Wide viaNorth = INT_INFINITY;
  for (const GRAPH_POINT_T* e : kPExits) {
    Wide last = orthogonal(*e, *b);
    Wide lowerWalk = toLower + orthogonal(lower, *e) + last;
    Wide northWalk = toNorth + orthogonal(north, *e) + last;
    if (lowerWalk < viaLower) viaLower = lowerWalk;
    if (northWalk < viaNorth) viaNorth = northWalk;
  }
  return narrow(viaLower < viaNorth ? viaLower : viaNorth);
}

int getDistanceBetweenSectors_G_GP(const SECTOR_ADDR_T& first,
                                   const SECTOR_ADDR_T& second) {
  const SECTOR_ADDR_T* a = &first;  // the G point
  const SECTOR_ADDR_T* b = &second;
  if (isGP(*a)) std::swap(a, b);
  // Always through the lower exit of G, treated as a GP point (yIndex 0).
  const GRAPH_POINT_T& lower = secG::G_lower_exit;
  return narrow(orthogonal(*a, lower) + Wide{getDistanceInSectorGP(lower, *b)});
}

// V lies north of P and GP with no corridor model between them.
int getDistanceBetweenSectors_V_P(const SECTOR_ADDR_T& a,
                                  const SECTOR_ADDR_T& b) {
  return narrow(orthogonal(a, b));
}

int getDistanceBetweenSectors_V_GP(const SECTOR_ADDR_T& a,
                                   const SECTOR_ADDR_T& b) {
  return narrow(orthogonal(a, b));
}

int getDistanceBetweenSectors_GP_P(const SECTOR_ADDR_T& first,
                                   const SECTOR_ADDR_T& second) {
  const SECTOR_ADDR_T* a = &first;  // the GP point
  const SECTOR_ADDR_T* b = &second;
  if (beginsWith(*a, 'P')) std::swap(a, b);
  Wide best = INT_INFINITY;
  for (const SECTOR_ADDR_T& g : secGP::GP_exits) {
    Wide inside = getDistanceInSectorGP(*a, g);
    Wide bestP = INT_INFINITY;
    for (const GRAPH_POINT_T* p : kPExits) {
      // The sum is formed in single precision, then truncated.
      float walk = static_cast<float>(orthogonal(*p, *b)) + euclidean(g, *p);
      Wide candidate = clampToInt(walk);
      if (candidate < bestP) bestP = candidate;
    }
    if (inside + bestP < best) best = inside + bestP;
  }
  return narrow(best);
}

}  // namespace ver2::measuring::detail

namespace ver2::measuring {

int getDistanceBetweenSectors_G_V(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceBetweenSectors_G_V(a, b);
}

int getDistanceBetweenSectors_G_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceBetweenSectors_G_P(a, b);
}

int getDistanceBetweenSectors_G_GP(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceBetweenSectors_G_GP(a, b);
}

int getDistanceBetweenSectors_V_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceBetweenSectors_V_P(a, b);
}

int getDistanceBetweenSectors_V_GP(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceBetweenSectors_V_GP(a, b);
}

int getDistanceBetweenSectors_GP_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceBetweenSectors_GP_P(a, b);
}

}  // namespace ver2::measuring

// The first of the rules below that applies decides.
int Warehouse::distance(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  namespace m = ver2::measuring::detail;
  const char a0 = codeAt(a.sector, 0);
  const char a1 = codeAt(a.sector, 1);
  const char b0 = codeAt(b.sector, 0);
  const char b1 = codeAt(b.sector, 1);
  const bool aGP = a0 == 'G' && a1 == 'P';
  const bool bGP = b0 == 'G' && b1 == 'P';

  // 1. Same sector; the second character 'P' marks GP, so G and GP differ.
  if ((a0 == b0 && a1 != 'P' && b1 != 'P') || (a1 == 'P' && b1 == 'P')) {
    if (aGP) return m::getDistanceInSectorGP(a, b);
    switch (a0) {
      case 'G':
        return m::getDistanceInSectorG(a, b);
      case 'V':
        return m::getDistanceInSectorV(a, b);
      case 'P':
        return m::getDistanceInSectorP(a, b);
      default:
        return 0;
    }
  }
  // 2 to 4. One point in GP.
  if (aGP || bGP) {
    const char other = aGP ? b0 : a0;
    if (other == 'P') return m::getDistanceBetweenSectors_GP_P(a, b);
    if (other == 'V') return m::getDistanceBetweenSectors_V_GP(a, b);
    if (other == 'G') return m::getDistanceBetweenSectors_G_GP(a, b);
  }
  // 5 to 7. Two different sectors among G, V, P.
  auto pair = [a0, b0](char x, char y) {
    return (a0 == x && b0 == y) || (a0 == y && b0 == x);
  };
  if (pair('G', 'V')) return m::getDistanceBetweenSectors_G_V(a, b);
  if (pair('G', 'P')) return m::getDistanceBetweenSectors_G_P(a, b);
  if (pair('V', 'P')) return m::getDistanceBetweenSectors_V_P(a, b);
  return 0;
}

int Warehouse::getDistanceBetweenAddresses(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return distance(a, b);
}

int Warehouse::getDistanceBetweenAddresses(WAddress a, WAddress b) {
  return distance(a.point(), b.point());
}
