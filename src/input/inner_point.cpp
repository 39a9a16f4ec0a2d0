#include "input/inner_point.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace waymint::input {
namespace {

// Products of two differences of grid coordinates need more than 64 bits.
__extension__ typedef __int128 Wide;

std::int64_t minus(std::int32_t a, std::int32_t b) {
  return static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b);
}

bool onSegment(GridPoint p, GridPoint a, GridPoint b) {
  const Wide cross = Wide(minus(b.x, a.x)) * minus(p.y, a.y) - Wide(minus(p.x, a.x)) * minus(b.y, a.y);
  return cross == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
         std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// Calls `edge(a, b)` for every edge of every ring; stops when it returns true.
template <typename Edge>
bool anyEdge(const AreaRings& area, Edge edge) {
  for (const auto* rings : {&area.outer, &area.inner}) {
    for (const Ring& ring : *rings) {
      for (size_t i = 0; i < ring.size(); ++i) {
        if (edge(ring[i], ring[(i + 1) % ring.size()])) return true;
      }
    }
  }
  return false;
}

// Twice the signed area of a ring and its first moments (times six), relative to `origin`.
struct RingSums {
  double area2 = 0, momentX = 0, momentY = 0;
};

RingSums sumsOf(const Ring& ring, GridPoint origin) {
  RingSums sums;
  for (size_t i = 0; i < ring.size(); ++i) {
    const GridPoint a = ring[i];
    const GridPoint b = ring[(i + 1) % ring.size()];
    const double ax = static_cast<double>(minus(a.x, origin.x));
    const double ay = static_cast<double>(minus(a.y, origin.y));
    const double bx = static_cast<double>(minus(b.x, origin.x));
    const double by = static_cast<double>(minus(b.y, origin.y));
    const double cross = ax * by - bx * ay;
    sums.area2 += cross;
    sums.momentX += (ax + bx) * cross;
    sums.momentY += (ay + by) * cross;
  }
  return sums;
}

// Where the grid line y = `y` crosses the rings, by the half-open rule (an edge counts when
// one end lies on or below the line and the other above), in order from west to east.
std::vector<double> crossings(const AreaRings& area, std::int32_t y) {
  std::vector<double> xs;
  anyEdge(area, [&](GridPoint a, GridPoint b) {
    if ((a.y <= y) != (b.y <= y)) {
      const double t = static_cast<double>(minus(y, a.y)) / static_cast<double>(minus(b.y, a.y));
      xs.push_back(static_cast<double>(a.x) + t * static_cast<double>(minus(b.x, a.x)));
    }
    return false;
  });
  std::sort(xs.begin(), xs.end());
  return xs;
}

// The middle of the longest piece of the grid line y = `y` inside the area that holds a grid
// point strictly inside.
std::optional<GridPoint> chordMiddle(const AreaRings& area, std::int32_t y) {
  const std::vector<double> xs = crossings(area, y);
  std::vector<std::pair<double, double>> pieces;
  for (size_t i = 0; i + 1 < xs.size(); i += 2) pieces.emplace_back(xs[i], xs[i + 1]);
  std::stable_sort(pieces.begin(), pieces.end(), [](const auto& a, const auto& b) {
    return a.second - a.first > b.second - b.first;
  });
  for (const auto& [west, east] : pieces) {
    const double middle = (west + east) / 2;
    for (const double x : {std::round(middle), std::floor(middle), std::ceil(middle)}) {
      if (x <= west || x >= east) continue;
      const GridPoint point{static_cast<std::int32_t>(x), y};
      if (placementOf(point, area) == Placement::Inside) return point;
    }
  }
  return std::nullopt;
}

std::int32_t gridOf(double value) {
  return static_cast<std::int32_t>(std::clamp(std::round(value), -2147483648.0, 2147483647.0));
}

// The grid lines halfway between the distinct latitudes of the vertices, nearest `y` first.
std::vector<std::int32_t> bandMiddles(const AreaRings& area, double y) {
  std::vector<std::int32_t> ys;
  anyEdge(area, [&](GridPoint a, GridPoint) {
    ys.push_back(a.y);
    return false;
  });
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<std::int32_t> middles;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    if (minus(ys[i + 1], ys[i]) >= 2) {
      middles.push_back(static_cast<std::int32_t>(ys[i] + minus(ys[i + 1], ys[i]) / 2));
    }
  }
  std::stable_sort(middles.begin(), middles.end(), [y](std::int32_t a, std::int32_t b) {
    return std::abs(a - y) < std::abs(b - y);
  });
  return middles;
}

// An area whose centroid's line misses it is looked at on this many more lines at most, so
// that a boundary of a hundred thousand vertices costs no more than a few passes over them.
constexpr size_t linesTried = 64;

}  // namespace

Placement placementOf(GridPoint point, const AreaRings& area) {
  bool inside = false;
  const bool boundary = anyEdge(area, [&](GridPoint a, GridPoint b) {
    if (onSegment(point, a, b)) return true;
    if ((a.y > point.y) != (b.y > point.y)) {
      // The edge crosses the ray eastwards from the point when its x there lies east of it.
      const Wide along = Wide(minus(point.y, a.y)) * minus(b.x, a.x);
      const Wide across = Wide(minus(point.x, a.x)) * minus(b.y, a.y);
      if (b.y > a.y ? along > across : along < across) inside = !inside;
    }
    return false;
  });
  if (boundary) return Placement::OnBoundary;
  return inside ? Placement::Inside : Placement::Outside;
}

std::optional<std::pair<double, double>> centroidOf(const AreaRings& area) {
  if (area.outer.empty() || area.outer.front().empty()) return std::nullopt;
  const GridPoint origin = area.outer.front().front();
  RingSums total;
  for (const auto* rings : {&area.outer, &area.inner}) {
    const double sign = rings == &area.outer ? 1.0 : -1.0;
    for (const Ring& ring : *rings) {
      RingSums sums = sumsOf(ring, origin);
      // Whatever way a ring runs, an outer one adds and an inner one takes away.
      const double turn = (sums.area2 < 0 ? -1.0 : 1.0) * sign;
      total.area2 += turn * sums.area2;
      total.momentX += turn * sums.momentX;
      total.momentY += turn * sums.momentY;
    }
  }
  if (!(std::abs(total.area2) > 0)) return std::nullopt;
  return std::pair{origin.x + total.momentX / (3 * total.area2),
                   origin.y + total.momentY / (3 * total.area2)};
}

std::optional<GridPoint> innerPoint(const AreaRings& area) {
  const auto centroid = centroidOf(area);
  if (!centroid) return std::nullopt;
  const GridPoint middle{gridOf(centroid->first), gridOf(centroid->second)};
  if (placementOf(middle, area) == Placement::Inside) return middle;
  if (auto point = chordMiddle(area, middle.y)) return point;
  const std::vector<std::int32_t> lines = bandMiddles(area, centroid->second);
  for (size_t i = 0; i < lines.size() && i < linesTried; ++i) {
    if (auto point = chordMiddle(area, lines[i])) return point;
  }
  return std::nullopt;
}

}  // namespace waymint::input
