#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gpi/icon.h"

namespace waymint::gpi {

// Which icon the POIs of a written file show.
enum class IconUsed {
  Category,         // the category's own .bmp
  DefaultNoIcon,    // the default: the category has no .bmp
  DefaultRejected,  // the default: the category's .bmp is one navigators cannot show
};

// What writing a category's GPI file did.
struct GpiReport {
  bool written = false;
  std::string gpiPath;
  std::string error;  // why nothing was written, naming the file; empty when written
  size_t pois = 0;
  size_t leftOut = 0;       // waypoints without a position in range
  size_t cutWaypoints = 0;  // waypoints whose texts were cut to what a GPI holds
  IconUsed icon = IconUsed::DefaultNoIcon;
  IconCheck iconCheck;  // why the category's icon was not used

  // What the user should hear of besides success, one sentence a line: the icon's problem and
  // its fix, waypoints left out, texts cut.
  std::vector<std::string> notes() const;
};

// Where a GPX's GPI file goes: beside it, ".gpx" replaced by ".gpi".
std::string gpiPathFor(std::string_view gpxPath);

// Makes `<category>.gpi` beside the category's GPX from all of the GPX's waypoints and the icon
// at `iconPath` (the default icon when `iconPath` is empty, names no file or names one that
// navigators cannot show), and replaces any file of that name in one step. `category` is the
// name the navigator shows (UTF-8, or Windows-1252 bytes when not UTF-8). The file's texts are
// in the GPX's code page: UTF-8 (65001) or Windows-1252.
GpiReport writeCategoryGpi(std::string_view gpxPath, std::string_view iconPath,
                           std::string_view category, std::uint32_t creationTime);

// A creation time for a new file: the Garmin time of `unixNow`, but always later than the
// last one this process was given, since navigators mix up the POIs of files of one time.
std::uint32_t freshCreationTime(std::int64_t unixNow);
// The same for the system clock's time.
std::uint32_t freshCreationTime();

}  // namespace waymint::gpi
