#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gpi/waypoint.h"

namespace waymint::gpi {

// The most POIs one area of a GPI file holds.
inline constexpr size_t poisPerArea = 128;

// A run of `order` that forms one area.
struct AreaRange {
  size_t begin;
  size_t end;
};

// Splits the POIs (indices into `waypoints`, in the order they are to be listed) into areas
// of at most poisPerArea, as GPSBabel does: a larger set is cut into quadrants around the
// mean position in degrees (north-west, north-east, south-west, south-east; a POI on the mean
// belongs to the north and the east), each split again while it is too large, except that a
// set the cut would leave whole (POIs at one place) stays one area. Reorders `order` so that
// each area is a run of it, the POIs keeping their order within it, and returns the runs.
std::vector<AreaRange> splitIntoAreas(std::span<const Waypoint> waypoints,
                                      std::vector<std::uint32_t>& order);

}  // namespace waymint::gpi
