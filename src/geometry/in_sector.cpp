// Distances between two locations of one sector: a straight
// shortcut along one line or across one aisle, otherwise the walk along the
// aisle to a cross corridor, along it and back into the target aisle.

#include <span>
#include <utility>

#include "geometry/layout.h"
#include "geometry/measuring_detail.h"
#include "geometry/warehouse.h"

namespace ver2::measuring::detail {

namespace {

// Sectors V and G: rows run west to east, cross corridors at the x values
// of `vc`. The pair is ordered west to east; the western point's bay (the
// first corridor interval containing its x) decides. A western point outside
// every interval is measured by the orthogonal distance.
template <typename Path>
int measureAcrossVerticalCorridors(const SECTOR_ADDR_T& first,
                                   const SECTOR_ADDR_T& second,
                                   int facingParity,
                                   std::span<const int> vc,
                                   Path& path) {
  int s = horizontalCorridorSpecialCase_G_V(first, second, facingParity);
  if (s >= 0) {
    walkThrough(path, first, second);
    return s;
  }
  const SECTOR_ADDR_T* a = &first;
  const SECTOR_ADDR_T* b = &second;
  if (a->x > b->x) std::swap(a, b);
  Wide dy = absDiff(a->y, b->y);
  for (std::size_t i = 0; i + 1 < vc.size(); ++i) {
    Wide lo = vc[i];
    Wide hi = vc[i + 1];
    if (lo <= a->x && a->x <= hi) {
      if (lo <= b->x && b->x <= hi) {
        Wide west = (a->x - lo) + (b->x - lo);
        Wide east = (hi - a->x) + (hi - b->x);
        viaCrossCorridorAtX(path, first, second,
                            west < east ? vc[i] : vc[i + 1]);
        return clampToInt((west < east ? west : east) + dy);
      }
      viaCrossCorridorAtX(path, first, second, vc[i + 1]);
      return clampToInt((hi - a->x) + dy + (b->x - hi));
    }
  }
  walkThrough(path, first, PlanPoint{second.x, first.y}, second);
  return clampToInt(orthogonal(*a, *b));
}

// Sectors P and GP: columns run north to south, cross corridors at the y
// values of `hc`. The pair is ordered north to south; only the first
// interval containing the northern point counts.
template <typename Path>
int measureAcrossHorizontalCorridors(const SECTOR_ADDR_T& first,
                                     const SECTOR_ADDR_T& second,
                                     std::span<const int> hc,
                                     Path& path) {
  int s = horizontalCorridorSpecialCase_G_V(first, second, 1);
  if (s >= 0) {
    walkThrough(path, first, second);
    return s;
  }
  const SECTOR_ADDR_T* a = &first;
  const SECTOR_ADDR_T* b = &second;
  if (a->y > b->y) std::swap(a, b);
  Wide dx = absDiff(a->x, b->x);
  for (std::size_t i = 0; i + 1 < hc.size(); ++i) {
    Wide lo = hc[i];
    Wide hi = hc[i + 1];
    if (lo <= a->y && a->y <= hi) {
      if (lo <= b->y && b->y <= hi) {
        Wide sumY = Wide{a->y} + b->y;
        Wide north = 2 * lo - sumY;
        Wide south = 2 * hi - sumY;
        north = north < 0 ? -north : north;
        south = south < 0 ? -south : south;
        viaCrossCorridorAtY(path, first, second,
                            north < south ? hc[i] : hc[i + 1]);
        return clampToInt((north < south ? north : south) + dx);
      }
      viaCrossCorridorAtY(path, first, second, hc[i + 1]);
      return clampToInt(absDiff(a->y, b->y) + dx);
    }
  }
  walkThrough(path, first, PlanPoint{first.x, second.y}, second);
  return clampToInt(orthogonal(*a, *b));
}

}  // namespace

int horizontalCorridorSpecialCase_G_V(const SECTOR_ADDR_T& first,
                                      const SECTOR_ADDR_T& second,
                                      int facingParity) {
  if (first.yIndex == second.yIndex)
    return clampToInt(absDiff(first.x, second.x));
  const SECTOR_ADDR_T* a = &first;
  const SECTOR_ADDR_T* b = &second;
  if (a->yIndex > b->yIndex) std::swap(a, b);
  // a->yIndex < b->yIndex, so a->yIndex + 1 cannot overflow.
  bool facing =
      a->yIndex + 1 == b->yIndex &&
      (facingParity % 2 != 0 ? a->yIndex % 2 == 1 : a->yIndex % 2 == 0);
  return facing ? clampToInt(euclidean(*a, *b)) : -1;
}

int getDistanceInSectorV(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  NoPath none;
  return measureAcrossVerticalCorridors(a, b, secV::first_row_opposite,
                                        secV::vertical_corridors, none);
}

int getDistanceInSectorV(const SECTOR_ADDR_T& a,
                         const SECTOR_ADDR_T& b,
                         PathRecorder& path) {
  return measureAcrossVerticalCorridors(a, b, secV::first_row_opposite,
                                        secV::vertical_corridors, path);
}

int getDistanceInSectorG(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  NoPath none;
  return measureAcrossVerticalCorridors(a, b, secG::first_row_opposite,
                                        secG::vertical_corridors, none);
}

int getDistanceInSectorG(const SECTOR_ADDR_T& a,
                         const SECTOR_ADDR_T& b,
                         PathRecorder& path) {
  return measureAcrossVerticalCorridors(a, b, secG::first_row_opposite,
                                        secG::vertical_corridors, path);
}

int getDistanceInSectorP(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  NoPath none;
  return measureAcrossHorizontalCorridors(a, b, secP::horizontal_cooridors,
                                          none);
}

int getDistanceInSectorP(const SECTOR_ADDR_T& a,
                         const SECTOR_ADDR_T& b,
                         PathRecorder& path) {
  return measureAcrossHorizontalCorridors(a, b, secP::horizontal_cooridors,
                                          path);
}

int getDistanceInSectorGP(const SECTOR_ADDR_T& a, const SECTOR_ADDR_T& b) {
  NoPath none;
  return measureAcrossHorizontalCorridors(a, b, secGP::horizontal_corridors,
                                          none);
}

int getDistanceInSectorGP(const SECTOR_ADDR_T& a,
                          const SECTOR_ADDR_T& b,
                          PathRecorder& path) {
  return measureAcrossHorizontalCorridors(a, b, secGP::horizontal_corridors,
                                          path);
}

}  // namespace ver2::measuring::detail

namespace ver2::measuring {

int horizontalCorridorSpecialCase_G_V(SECTOR_ADDR_T a,
                                      SECTOR_ADDR_T b,
                                      int facingParity) {
  return detail::horizontalCorridorSpecialCase_G_V(a, b, facingParity);
}

int getDistanceInSectorG(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceInSectorG(a, b);
}

int getDistanceInSectorV(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceInSectorV(a, b);
}

int getDistanceInSectorP(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceInSectorP(a, b);
}

int getDistanceInSectorGP(SECTOR_ADDR_T a, SECTOR_ADDR_T b) {
  return detail::getDistanceInSectorGP(a, b);
}

}  // namespace ver2::measuring
