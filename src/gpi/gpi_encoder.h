#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gpi/bitmap.h"
#include "gpi/code_page.h"
#include "gpi/waypoint.h"

namespace waymint::gpi {

// The most bytes a text of a GPI file holds (its length is 16 bits); longer ones are cut at
// the last whole character.
inline constexpr size_t longestText = 65535;

struct EncodeOptions {
  CodePage codePage = CodePage::Windows1252;  // of every text, the category's included
};

struct Encoded {
  std::string bytes;        // the whole file; empty when tooLarge
  size_t cutWaypoints = 0;  // waypoints with a text longer than longestText
  bool tooLarge = false;    // more than a GPI's 32-bit sizes can hold
};

// Seconds since 1989-12-31 00:00 UTC, the creation time a GPI file holds, from seconds since
// 1970-01-01 (0 before 1990; the largest value after 2126).
std::uint32_t garminTime(std::int64_t unixSeconds);

// A GPI file of one category: the category as its one group, the waypoints as its POIs
// (sorted by name, in areas of at most 128), each with the icon; a proximity alert where the
// waypoint has one. The layout follows what GPSBabel's garmin_gpi writer makes with the
// options alerts=1 (when any waypoint has a proximity), unique=0 and bitmap=<icon>, so that
// the two give the same bytes for the same input (docs/GPI.md).
Encoded encode(std::span<const Waypoint> waypoints, std::string_view category, const Bitmap& icon,
               const EncodeOptions& options, std::uint32_t creationTime);

}  // namespace waymint::gpi
