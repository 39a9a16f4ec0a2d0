#pragma once

namespace waymint::app {

// What a POI is and what its waypoint holds, beside the program's first behaviour; all off,
// every result is what it always was.
struct Choices {
  // Closed ways and multipolygons that are areas are POIs too, at a point inside them. The
  // loaded text depends on it: a change takes effect at the next load.
  bool areas = false;
  // A POI is of category C when one of the surveyed keys has the value C, not when C occurs
  // in its text; keys of a past state (disused:, was:...) make no POI.
  bool exact = false;
  // Waypoints carry the address, phone, opening hours and website the OSM data holds, and
  // names in UTF-8.
  bool details = false;

  bool operator==(const Choices&) const = default;
};

}  // namespace waymint::app
