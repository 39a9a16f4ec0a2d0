#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gpi/code_page.h"
#include "gpi/waypoint.h"

namespace waymint::gpi {

// The waypoints of a GPX file: every <wpt> of its <gpx> element with its name, comment or
// description, the Garmin extensions' proximity, address and phone number. Read by one pass
// over the bytes; the texts are decoded in place and the waypoints view them.
struct GpxWaypoints {
  std::unique_ptr<std::string> bytes;  // the file; its texts decoded where they stand
  std::deque<std::string> madeNames;   // names made for waypoints that have none
  std::vector<Waypoint> waypoints;     // in the order of the file
  CodePage codePage = CodePage::Utf8;
  size_t leftOut = 0;  // waypoints without a position in range, not among `waypoints`
  std::string error;   // why the file cannot be used, naming it; empty when it can
};

// Reads the GPX held in `bytes`; `path` names it in the error. A name that is absent or empty
// is taken from the comment, else from the description, else made as "WPT" and the
// waypoint's number in the file (at least three digits). A proximity is a number of metres of
// at least 1 (fractions cut off, at most 65535); anything else is none.
GpxWaypoints readGpxWaypoints(std::string bytes, std::string_view path);
// The same for the file at `path`.
GpxWaypoints readGpxFile(std::string_view path);

}  // namespace waymint::gpi
