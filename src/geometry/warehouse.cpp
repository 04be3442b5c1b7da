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

namespace {

template <typename Path>
int getDistanceBetweenSectors_G_V(const SECTOR_ADDR_T& first,
                                  const SECTOR_ADDR_T& second,
                                  Path& path) {
  const SECTOR_ADDR_T* a = &first;  // the G point
  const SECTOR_ADDR_T* b = &second;
  if (!beginsWith(*a, 'G')) std::swap(a, b);
  // G row 0 and V row E face each other across the boundary corridor.
  if (a->yIndex == 0 && b->yIndex == 4) {
    walkThrough(path, first, second);
    return clampToInt(euclidean(*a, *b));
  }
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
  if (bayOf(b->x) != i) {
    viaCrossCorridorAtX(path, first, second, vc[i + 1]);
    return clampToInt(absDiff(a->x, b->x) + dy);
  }
  Wide west = (Wide{a->x} - vc[i]) + (Wide{b->x} - vc[i]);
  Wide east = (Wide{vc[i + 1]} - a->x) + (Wide{vc[i + 1]} - b->x);
  // The first bay always uses its eastern corridor, the last its western.
  bool useWest = (west < east && i != 0) || i == lastBay;
  viaCrossCorridorAtX(path, first, second, useWest ? vc[i] : vc[i + 1]);
  return clampToInt((useWest ? west : east) + dy);
}

template <typename Path>
int getDistanceBetweenSectors_G_P(const SECTOR_ADDR_T& first,
                                  const SECTOR_ADDR_T& second,
                                  Path& path) {
  const SECTOR_ADDR_T* a = &first;  // the G point
  const SECTOR_ADDR_T* b = &second;
  if (beginsWith(*a, 'P')) std::swap(a, b);
  const GRAPH_POINT_T& north = secG::G_north_exit;
  const GRAPH_POINT_T& lower = secG::G_lower_exit;
  const int lastLine = secG::vertical_corridors.back();  // 572

  // East of the last cross corridor the walk goes back to it first.
  const bool backToLastLine = a->x > lastLine;
  Wide toNorth = backToLastLine ? (Wide{a->x} - lastLine) + (north.x - lastLine)
                                : absDiff(a->x, north.x);
  toNorth += absDiff(a->y, north.y);
  Wide toLower = orthogonal(*a, lower);

  Wide viaLower = INT_INFINITY;
  Wide viaNorth = INT_INFINITY;
  const GRAPH_POINT_T* lowerExitP = kPExits[0];
  const GRAPH_POINT_T* northExitP = kPExits[0];
  for (const GRAPH_POINT_T* e : kPExits) {
    Wide last = orthogonal(*e, *b);
    Wide lowerWalk = toLower + orthogonal(lower, *e) + last;
    Wide northWalk = toNorth + orthogonal(north, *e) + last;
    if (lowerWalk < viaLower) {
      viaLower = lowerWalk;
      lowerExitP = e;
    }
    if (northWalk < viaNorth) {
      viaNorth = northWalk;
      northExitP = e;
    }
  }
  const bool useLower = viaLower < viaNorth;
  if constexpr (Path::records) {
    // From the G point along its aisle to an exit of G, then first along
    // x = exit, then along the P exit's corridor, and into the P column.
    const std::size_t start = path.mark();
    const GRAPH_POINT_T& exitG = useLower ? lower : north;
    const GRAPH_POINT_T& exitP = useLower ? *lowerExitP : *northExitP;
    walkThrough(path, *a);
    if (!useLower && backToLastLine) {
      walkThrough(path, PlanPoint{lastLine, a->y},
                  PlanPoint{lastLine, north.y});
    } else {
      walkThrough(path, PlanPoint{exitG.x, a->y});
    }
    walkThrough(path, exitG, PlanPoint{exitG.x, exitP.y}, exitP,
                PlanPoint{b->x, exitP.y}, *b);
    if (a != &first) path.reverseSince(start);
  }
  return clampToInt(useLower ? viaLower : viaNorth);
}

// Kept out of the oracle's dispatch: inlined, its call into GP would make
// every distance save registers it otherwise never needs.
template <typename Path>
[[gnu::noinline]] int getDistanceBetweenSectors_G_GP(
    const SECTOR_ADDR_T& first, const SECTOR_ADDR_T& second, Path& path) {
  const SECTOR_ADDR_T* a = &first;  // the G point
  const SECTOR_ADDR_T* b = &second;
  if (isGP(*a)) std::swap(a, b);
  // Always through the lower exit of G, treated as a GP point (yIndex 0).
  const GRAPH_POINT_T& lower = secG::G_lower_exit;
  const std::size_t start = path.mark();
  walkThrough(path, *a, PlanPoint{lower.x, a->y}, lower);
  Wide inside = getDistanceInSectorGP(lower, *b, path);
  if (a != &first) path.reverseSince(start);
  return clampToInt(orthogonal(*a, lower) + inside);
}

// V lies north of P and GP with no corridor model between them: along the
// V aisle, then along the column of the other point.
template <typename Path>
int orthogonalFromV(const SECTOR_ADDR_T& a,
                    const SECTOR_ADDR_T& b,
                    Path& path) {
  const SECTOR_ADDR_T& v = beginsWith(a, 'V') ? a : b;
  const SECTOR_ADDR_T& other = &v == &a ? b : a;
  walkThrough(path, a, PlanPoint{other.x, v.y}, b);
  return clampToInt(orthogonal(a, b));
}

template <typename Path>
int getDistanceBetweenSectors_GP_P(const SECTOR_ADDR_T& first,
                                   const SECTOR_ADDR_T& second,
                                   Path& path) {
  const SECTOR_ADDR_T* a = &first;  // the GP point
  const SECTOR_ADDR_T* b = &second;
  if (beginsWith(*a, 'P')) std::swap(a, b);
  Wide best = INT_INFINITY;
  const SECTOR_ADDR_T* bestG = &secGP::GP_exits.front();
  const GRAPH_POINT_T* bestP = kPExits[0];
  for (const SECTOR_ADDR_T& g : secGP::GP_exits) {
    Wide inside = getDistanceInSectorGP(*a, g);
    Wide shortestP = INT_INFINITY;
    const GRAPH_POINT_T* nearestP = kPExits[0];
    for (const GRAPH_POINT_T* p : kPExits) {
      // The sum is formed in single precision, then truncated.
      float walk = static_cast<float>(orthogonal(*p, *b)) + euclidean(g, *p);
      Wide candidate = clampToInt(walk);
      if (candidate < shortestP) {
        shortestP = candidate;
        nearestP = p;
      }
    }
    if (inside + shortestP < best) {
      best = inside + shortestP;
      bestG = &g;
      bestP = nearestP;
    }
  }
  if constexpr (Path::records) {
    // Inside GP to its exit, straight across to the P exit, along that
    // exit's corridor and into the P column.
    const std::size_t start = path.mark();
    getDistanceInSectorGP(*a, *bestG, path);
    walkThrough(path, *bestP, PlanPoint{b->x, bestP->y}, *b);
    if (a != &first) path.reverseSince(start);
  }
  return clampToInt(best);
}

// The first of the rules below that applies decides.
template <typename Path>
int measureWalk(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b, Path& path) {
  const char a0 = codeAt(a.sector, 0);
  const char a1 = codeAt(a.sector, 1);
  const char b0 = codeAt(b.sector, 0);
  const char b1 = codeAt(b.sector, 1);
  const bool aGP = a0 == 'G' && a1 == 'P';
  const bool bGP = b0 == 'G' && b1 == 'P';

  // 1. Same sector; the second character 'P' marks GP, so G and GP differ.
  if ((a0 == b0 && a1 != 'P' && b1 != 'P') || (a1 == 'P' && b1 == 'P')) {
    if (aGP) return getDistanceInSectorGP(a, b, path);
    switch (a0) {
      case 'G':
        return getDistanceInSectorG(a, b, path);
      case 'V':
        return getDistanceInSectorV(a, b, path);
      case 'P':
        return getDistanceInSectorP(a, b, path);
      default:
        walkThrough(path, a, b);
        return 0;
    }
  }
  // 2 to 4. One point in GP.
  if (aGP || bGP) {
    const char other = aGP ? b0 : a0;
    if (other == 'P') return getDistanceBetweenSectors_GP_P(a, b, path);
    if (other == 'V') return orthogonalFromV(a, b, path);
    if (other == 'G') return getDistanceBetweenSectors_G_GP(a, b, path);
  }
  // 5 to 7. Two different sectors among G, V, P.
  auto pair = [a0, b0](char x, char y) {
    return (a0 == x && b0 == y) || (a0 == y && b0 == x);
  };
  if (pair('G', 'V')) return getDistanceBetweenSectors_G_V(a, b, path);
  if (pair('G', 'P')) return getDistanceBetweenSectors_G_P(a, b, path);
  if (pair('V', 'P')) return orthogonalFromV(a, b, path);
  walkThrough(path, a, b);
  return 0;
}

}  // namespace

std::vector<PlanPoint> PathRecorder::corners() const {
  std::vector<PlanPoint> walk;
  walk.reserve(points.size());
  for (const PlanPoint& p : points) {
    if (walk.empty() || !(walk.back() == p)) walk.push_back(p);
  }
  return walk;
}

}  // namespace ver2::measuring::detail

namespace ver2::measuring {

int getDistanceBetweenSectors_G_V(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  detail::NoPath none;
  return detail::getDistanceBetweenSectors_G_V(a, b, none);
}

int getDistanceBetweenSectors_G_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  detail::NoPath none;
  return detail::getDistanceBetweenSectors_G_P(a, b, none);
}

int getDistanceBetweenSectors_G_GP(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  detail::NoPath none;
  return detail::getDistanceBetweenSectors_G_GP(a, b, none);
}

int getDistanceBetweenSectors_V_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  detail::NoPath none;
  return detail::orthogonalFromV(a, b, none);
}

int getDistanceBetweenSectors_V_GP(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  detail::NoPath none;
  return detail::orthogonalFromV(a, b, none);
}

int getDistanceBetweenSectors_GP_P(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  detail::NoPath none;
  return detail::getDistanceBetweenSectors_GP_P(a, b, none);
}

}  // namespace ver2::measuring

int Warehouse::distance(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  ver2::measuring::detail::NoPath none;
  return ver2::measuring::detail::measureWalk(a, b, none);
}

std::vector<PlanPoint> Warehouse::walk(const SECTOR_ADDR_T& a,
                                       const SECTOR_ADDR_T& b) {
  ver2::measuring::detail::PathRecorder path;
  ver2::measuring::detail::measureWalk(a, b, path);
  return path.corners();
}

int Warehouse::getDistanceBetweenAddresses(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return distance(a, b);
}

int Warehouse::getDistanceBetweenAddresses(WAddress a, WAddress b) {
  return distance(a.point(), b.point());
}
