#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace waymint::navigator {

// The categories of a GPX folder: its folders X that hold X/X.gpx, by name.
std::vector<std::string> categoryFolders(std::string_view gpxFolder);
// Where the category's files are: <gpxFolder>/<category>/<category> and the extension.
std::string categoryFile(std::string_view gpxFolder, std::string_view category,
                         std::string_view extension);

// How writing onto the navigator went. Full, Gone and ReadOnly end a sending: no later file
// can be written either.
enum class Outcome { Written, Full, Gone, ReadOnly, Failed };
struct Written {
  Outcome outcome = Outcome::Written;
  std::string path;     // the file on the navigator
  std::string message;  // why it was not written, naming what; empty when it was
};

// Makes <navigator>/Garmin/POI when it is missing; Written when files can be made in it.
Written preparePoiFolder(platform::Platform& platform, const std::string& navigatorFolder);

// Writes `bytes` as <navigator>/Garmin/POI/<name>.gpi, replacing the file there in one step:
// on any failure no temporary file and no part of the new file is left on the navigator.
Written writeGpi(platform::Platform& platform, const std::string& navigatorFolder,
                 std::string_view name, std::string_view bytes);

// A number of bytes as a user reads it: "512 bytes", "3.4 MB", "1.2 GB".
std::string roomText(std::uint64_t bytes);

}  // namespace waymint::navigator
