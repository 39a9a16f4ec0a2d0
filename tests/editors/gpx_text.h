#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gpx/gpx_document.h"

namespace waymint::testing {

// GPX text as the program's own writer makes it: the head, one block per waypoint, the
// closing line, each put in with procsave, so every line ends in CR LF. Built with the writer
// itself, so that the editors are tested against what it writes today.
struct WaypointText {
  std::string lat;
  std::string lon;
  std::string name;
};

inline constexpr std::string_view crlf = "\r\n";

inline std::string gpxHead() { return gpx::gpxHead() + std::string(crlf); }

// The writer's block of `w` with the sound link on, the alert as asked, CR LF at its end.
inline std::string writtenBlock(const WaypointText& w, bool alert, const std::string& distance) {
  gpx::WaypointOptions options;
  options.sound = true;
  options.soundlink = "file:///gpx/cafe/cafe.mp3";
  options.alert = alert;
  options.proximity = std::stoi(distance);
  return gpx::waypointBlock(w.lat, w.lon, w.name, options) + std::string(crlf);
}

// Where the line holding the proximity element starts in `block`, and its length without
// its CR LF.
struct LineSpan {
  size_t start;
  size_t length;
};
inline LineSpan proximityLine(const std::string& block) {
  const size_t at = block.find("<gpxx:Proximity>");
  if (at == std::string::npos) throw std::logic_error("the writer's block has no proximity");
  const size_t start = block.rfind('\n', at) + 1;  // npos + 1 is 0: the block's first line
  return {start, block.find(crlf, at) - start};
}

// The writer's alert line: the element itself with the alert on, inside a comment with it off.
inline std::string alertLine(bool alert, const std::string& distance) {
  const std::string block = writtenBlock({"0", "0", "x"}, alert, distance);
  const LineSpan line = proximityLine(block);
  return block.substr(line.start, line.length);
}

// The writer's block of `w` whose alert line is `alert`, as a file extended later, or edited
// by hand, may hold it.
inline std::string waypointBlock(const WaypointText& w, const std::string& alert) {
  std::string block = writtenBlock(w, true, "150");
  const LineSpan line = proximityLine(block);
  return block.replace(line.start, line.length, alert);
}

inline const std::vector<WaypointText>& threeCafes() {
  static const std::vector<WaypointText> cafes = {
      {"43.7311", "7.4197", "Caf&#233; de Paris"},
      {"43.7384", "7.4246", "Le Bar"},
      {"43.7275", "7.4140", "Tip Top"},
  };
  return cafes;
}

// A whole document whose blocks all carry the same alert line.
inline std::string gpxDocument(const std::vector<WaypointText>& waypoints, bool alert,
                               const std::string& distance) {
  std::string text = gpxHead();
  for (const auto& w : waypoints) text += writtenBlock(w, alert, distance);
  return text + "</gpx>" + std::string(crlf);
}

}  // namespace waymint::testing
