#pragma once

#include <string>
#include <vector>

namespace waymint::testing {

// GPX text laid out as the program's writer lays it out: the head, one block per waypoint,
// the closing line, every line ending in CR LF.
struct WaypointText {
  std::string lat;
  std::string lon;
  std::string name;
};

inline std::string gpxHead() {
  return "<?xml version=\"1.0\"  encoding=\"Windows-1252\" standalone=\"no\" ?>\r\n"
         "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" xmlns:gpxx = "
         "\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" creator=\"Veltrana\" "
         "version=\"1.1\" xmlns:xsi = \"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
         "http://www.topografix.com/GPX/1/1/gpx.xsd "
         "http://www.garmin.com/xmlschemas/GpxExtensions/v3 "
         "http://www8.garmin.com/xmlschemas/GpxExtensions/v3/GpxExtensionsv3.xsd\">\r\n"
         "<metadata>\r\n"
         "    <link href=\"http://example.org/osm\"><text>Free OSM tools for easy "
         "mapping.</text>\r\n"
         " </link>\r\n"
         "</metadata>\r\n";
}

// The alert line of a block: live with the alert on, inside a comment with it off.
inline std::string alertLine(bool alert, const std::string& distance) {
  std::string element = "<gpxx:Proximity>" + distance + "</gpxx:Proximity>";
  return alert ? "  " + element : "  <!--" + element + "-->";
}

inline std::string waypointBlock(const WaypointText& w, const std::string& alert) {
  return "<wpt lat=\"" + w.lat + "\" lon=\"" + w.lon + "\">\r\n"
         "<name>" + w.name + "</name>\r\n"
         "<cmt>This is " + w.name + "</cmt>\r\n"
         "   <desc></desc>\r\n"
         "   <link href=\"file:///gpx/cafe/cafe.mp3\" />\r\n"
         "  <extensions>\r\n"
         " <gpxx:WaypointExtension>\r\n" +
         alert + "\r\n"
         " <gpxx:DisplayMode>SymbolAndName</gpxx:DisplayMode>\r\n"
         " <gpxx:Categories>\r\n"
         "   <gpxx:Category>Category1</gpxx:Category>\r\n"
         " </gpxx:Categories>\r\n"
         "  <gpxx:Address>\r\n"
         " <gpxx:StreetAddress>; </gpxx:StreetAddress>\r\n"
         "  <gpxx:City></gpxx:City>\r\n"
         "  <gpxx:State></gpxx:State>\r\n"
         " <gpxx:Country></gpxx:Country>\r\n"
         "<gpxx:PostalCode></gpxx:PostalCode>\r\n"
         " </gpxx:Address>\r\n"
         "</gpxx:WaypointExtension>\r\n"
         "</extensions>\r\n"
         "</wpt>\r\n";
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
  for (const auto& w : waypoints) text += waypointBlock(w, alertLine(alert, distance));
  return text + "</gpx>\r\n";
}

}  // namespace waymint::testing
