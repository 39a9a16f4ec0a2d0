#include "gpi/areas.h"

#include <algorithm>
#include <array>

namespace waymint::gpi {

std::vector<AreaRange> splitIntoAreas(std::span<const Waypoint> waypoints,
                                      std::vector<std::uint32_t>& order) {
  std::vector<AreaRange> areas;
  // Depth first, the next range to look at on top; a stack rather than recursion, since
  // unevenly spread POIs may need many levels.
  std::vector<AreaRange> pending{{0, order.size()}};
  while (!pending.empty()) {
    const AreaRange range = pending.back();
    pending.pop_back();
    const size_t count = range.end - range.begin;
    if (count <= poisPerArea) {
      if (count > 0) areas.push_back(range);
      continue;
    }
    const auto first = order.begin() + range.begin;
    const auto last = order.begin() + range.end;
    double latSum = 0;
    double lonSum = 0;
    for (auto it = first; it != last; ++it) {
      latSum += waypoints[*it].lat;
      lonSum += waypoints[*it].lon;
    }
    const double meanLat = latSum / count;
    const double meanLon = lonSum / count;
    const auto north = std::stable_partition(
        first, last, [&](std::uint32_t i) { return waypoints[i].lat >= meanLat; });
    const auto west = [&](std::uint32_t i) { return waypoints[i].lon < meanLon; };
    const auto northEast = std::stable_partition(first, north, west);
    const auto southEast = std::stable_partition(north, last, west);
    const std::array<size_t, 5> cuts = {range.begin, size_t(northEast - order.begin()),
                                        size_t(north - order.begin()),
                                        size_t(southEast - order.begin()), range.end};
    bool whole = false;  // all in one quadrant: at one place
    for (size_t quadrant = 0; quadrant < 4; ++quadrant)
      whole |= cuts[quadrant + 1] - cuts[quadrant] == count;
    if (whole) {
      areas.push_back(range);
      continue;
    }
    for (size_t quadrant = 4; quadrant-- > 0;)
      pending.push_back({cuts[quadrant], cuts[quadrant + 1]});
  }
  return areas;
}

}  // namespace waymint::gpi
