#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// Refills List3 with one line per waypoint of the chosen category's GPX.
void showgpx(app::Program& program);

// The lines for the waypoints of a GPX text: the attributes of each "<wpt" start tag with
// the quotes and the names lat= and lon= removed, a blank, and the text of its name element.
std::vector<std::string> waypointLines(std::string_view text);

}  // namespace waymint::workflow
