#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace waymint::testing {

using Tags = std::vector<std::pair<std::string, std::string>>;

// A node element as OSM files write it: `<node id=".." lat=".." lon=".."` and `extra`
// attributes, self-closed without tags, else its tags (k, v in double quotes) on lines of
// their own and "</node>".
inline std::string osmNode(std::string_view id, std::string_view lat, std::string_view lon,
                           const Tags& tags = {}, std::string_view extra = "") {
  std::string text = "  <node id=\"" + std::string(id) + "\" lat=\"" + std::string(lat) +
                     "\" lon=\"" + std::string(lon) + "\"" + std::string(extra);
  if (tags.empty()) return text + "/>\n";
  text += ">\n";
  for (const auto& [k, v] : tags) text += "    <tag k=\"" + k + "\" v=\"" + v + "\"/>\n";
  return text + "  </node>\n";
}

// A node with the given tags at a place of no interest.
inline std::string osmNode(const Tags& tags) { return osmNode("1", "43.7", "7.4", tags); }

// A whole OSM document around `body`.
inline std::string osmFile(std::string_view body) {
  return "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\" generator=\"test\">\n" +
         std::string(body) + "</osm>\n";
}

}  // namespace waymint::testing
