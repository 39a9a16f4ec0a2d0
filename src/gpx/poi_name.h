#pragma once

#include <string>
#include <string_view>

#include "app/choices.h"
#include "gpx/waypoint_text.h"

namespace waymint::gpx {

// The name of a POI's waypoint, from its node record, as the choices make it:
// - none of exact categories and details: the record's raw name (rawName) with every byte
//   above "z" made "_" (fnstrip), as always;
// - details: the raw name as a GPX text in `encoding` (UTF-8 kept, gpx/waypoint_text.h); a POI
//   without a name tag is named after its brand, else its operator;
// - exact categories: a POI without a name tag (nor, with details, a brand or operator) is
//   named `category`, which the run makes category:lat,lon, instead of after its first tag.
std::string poiName(std::string_view record, std::string_view category, const app::Choices& choices,
                    GpxEncoding encoding);

}  // namespace waymint::gpx
