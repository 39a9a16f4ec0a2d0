#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "gpx/waypoint_details.h"
#include "gpx/waypoint_text.h"

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

// What a waypoint block depends on besides its position and name.
struct WaypointOptions {
  bool sound = false;  // "Sound" checked: the link line to the sound file
  bool alert = false;  // "Alert" checked: the proximity element itself, else inside a comment
  int proximity = 0;
  std::string_view soundlink;
  // The address, phone and description of the POI; none: the program's first, empty ones.
  const WaypointDetails* details = nullptr;
};

// The bytes of one category's GPX file as a writing run builds them, complete before the
// run puts them on disk in one step. Every text goes in through procsave.
class GpxDocument {
 public:
  // Appends `s` followed by CR LF.
  void procsave(std::string_view s);
  // The encoding of a new document, declared by its head: Windows-1252 unless set.
  void setEncoding(GpxEncoding encoding) { m_encoding = encoding; }
  // The encoding texts are written in: a new document's, or the one an existing file declares.
  GpxEncoding encoding() const { return m_encoding; }
  // Starts the document with the kept body of the file being extended (appended through
  // procsave) and remembers the positions of the waypoints it holds.
  void extend(std::string oldBody);
  // Starts the document with the bytes of an existing file, which later texts follow.
  void continueFrom(std::string existing);
  // Appends the waypoint block of a waypoint, its lines each ended by CR LF.
  void addWaypoint(std::string_view lat, std::string_view lon, std::string_view nam,
                   const WaypointOptions& options);

  // True when the kept body holds the position of the start tag `wptLine` (as
  // wptLine() writes it): 'lat="' + lat + '" lon="' + lon + '"'.
  bool holds(std::string_view wptLine) const;
  // True once anything has been put in.
  bool started() const { return m_started; }
  const std::string& bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
  bool m_started = false;
  GpxEncoding m_encoding = GpxEncoding::Windows1252;
  std::unordered_set<std::string> m_oldPositions;
};

// The six lines of a document's head, joined by CR LF (procsave ends the last one); the
// declaration names `encoding` (UTF-8, or else Windows-1252).
std::string gpxHead(GpxEncoding encoding = GpxEncoding::Windows1252);

// The start tag of a waypoint: CRs removed from lon, then every ">" directly followed by a CR
// removed from the tag.
std::string wptLine(std::string_view lat, std::string_view lon);

// Makes sure the category's folder exists (one level), then puts the head into `document`.
// The folder is the run's, fixed when it started, whatever the GPX folder box says by now.
// Throws platform::files::IoError when the folder cannot be made.
void initgpx(GpxDocument& document, const std::string& categoryFolder);
// Puts one waypoint block into `document`, with "Sound", "Alert", `proximity` and `soundlink`
// as they are at the time of the call: lines 1 to 22 of a waypoint, CR LF after each (the
// link line only with "Sound"; the proximity inside a comment without "Alert"). With the
// choice of details, the address, phone and description come from the node `record`.
void addgpx(app::Program& program, GpxDocument& document, std::string_view lat,
            std::string_view lon, std::string_view nam, std::string_view record = {});

}  // namespace waymint::gpx
