#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::survey {

// Surveys the loaded OSM file: every node record with tags gives at most one value under the
// POI keys (amenity, shop, tourism...), and `List1(2)` is filled once with the distinct
// values, lower-cased, ordered by their first character. Shows the progress while it scans;
// reports unreadable tags and goes on.
void get_tags(app::Program& program);

}  // namespace waymint::survey
