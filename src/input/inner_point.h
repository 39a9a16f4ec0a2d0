#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace waymint::input {

// A point in the units OSM files store positions in (10^-7 degrees): x east, y north.
struct GridPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const GridPoint&) const = default;
};

// A closed ring: its first point again at its end, or not; either is taken.
using Ring = std::vector<GridPoint>;

// An area as rings, outer and inner alike: a point is inside when a ray from it crosses the
// rings an odd number of times (so holes and several outer rings need no telling apart).
struct AreaRings {
  std::vector<Ring> outer;
  std::vector<Ring> inner;
};

enum class Placement { Outside, Inside, OnBoundary };

// Where `point` lies with respect to the area, computed exactly.
Placement placementOf(GridPoint point, const AreaRings& area);

// The centroid of the area (of its outer rings less its inner rings, weighted by area), in
// grid units; nothing for an area of no area at all.
std::optional<std::pair<double, double>> centroidOf(const AreaRings& area);

// A grid point strictly inside the area, where a navigator shows it: its centroid when that
// lies inside; otherwise the middle of the longest piece inside the area of the grid line
// through the centroid's latitude (a ring, a U); failing that, the same on the grid lines
// between the area's vertices, nearest the centroid's latitude first (a multipolygon whose
// pieces lie apart north and south). Nothing when no grid point lies strictly inside (an area
// thinner than the grid).
std::optional<GridPoint> innerPoint(const AreaRings& area);

}  // namespace waymint::input
