#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gpi/category_gpi.h"

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// Makes the category's GPI beside its GPX (<gpx without .gpx>.gpi) from all of its waypoints
// and its icon (<category>.bmp beside it, else the default icon), and says through the
// platform what the user should hear: why no file was written, an icon navigators cannot show
// (with the fix), waypoints left out, texts cut.
gpi::GpiReport writeGpiBeside(app::Program& program, const std::string& gpxPath,
                              const std::string& category);

// What "Send to navigator" is asked to do.
struct SendRequest {
  std::string gpxFolder;
  std::vector<std::string> categories;  // none: every category folder of gpxFolder
  std::string navigator;                // its folder; empty: the one connected
  // With more than one navigator connected, ask which (the window) rather than refuse.
  bool askWhichNavigator = false;
  // Ask whether to replace an icon navigators cannot show by the default icon (the window).
  bool offerDefaultIcon = false;
};

struct SentFile {
  std::string category;
  std::string path;  // on the navigator
  size_t pois = 0;
};
struct SendOutcome {
  std::vector<SentFile> sent;
  bool complete = false;  // every category asked for was sent, and nothing went wrong
};

// Makes the GPI of each category and writes it into <navigator>/Garmin/POI, each replaced in
// one step, then reports through the platform, in one message: what was sent, the icons
// navigators cannot show, the navigator's model and the room left on it, or why nothing (or
// not everything) was sent.
SendOutcome sendToNavigator(app::Program& program, const SendRequest& request);

// The main window's "Send to navigator": every category of the GPX folder to the navigator
// connected, asking which when there are several.
void Command6_Click(app::Program& program);

}  // namespace waymint::workflow
