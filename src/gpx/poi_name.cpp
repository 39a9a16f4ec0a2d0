#include "gpx/poi_name.h"

#include "gpx/parse.h"
#include "gpx/waypoint_details.h"

namespace waymint::gpx {

std::string poiName(std::string_view record, std::string_view category, const app::Choices& choices,
                    GpxEncoding encoding) {
  if (!choices.details && !choices.exact) return fnstrip(rawName(record));
  const bool named = hasNameTag(record);
  if (!named && choices.details) {
    const std::string_view other = brandOrOperator(record);
    if (!other.empty()) return gpxText(other, encoding);
  }
  if (!named && choices.exact) return std::string(category);
  return choices.details ? gpxText(rawName(record), encoding) : fnstrip(rawName(record));
}

}  // namespace waymint::gpx
