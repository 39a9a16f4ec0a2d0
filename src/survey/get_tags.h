#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::survey {

// Surveys the loaded OSM file: every node record with tags gives at most one value under the
// POI keys (amenity, shop, tourism...), and `List1(2)` is filled once with the distinct
// values, lower-cased, ordered by their first character. With the choice of exact
// categories, every record gives the value of each of its POI keys (osm/tags.h) instead. The text is surveyed on every core
// while the window shows the progress; unreadable tags are reported once. False, with
// `List1(2)` empty, when the user cancelled the survey.
bool get_tags(app::Program& program);

}  // namespace waymint::survey
