#pragma once

#include <string>
#include <string_view>

namespace waymint::gpx {

// The category text as the name of its folder and files: each of / \ : * ? " < > | and every
// control character becomes "_", and a name of dots only has its dots turned into "_", so
// that no value from an OSM file names a place outside the GPX folder.
std::string fileName(std::string_view category);

// Where a category's files lie below the GPX folder, separated by the platform's separator.
struct CategoryPaths {
  std::string folder;  // gpxfolder, name
  std::string gpx;     // folder, name + ".gpx"; doubled separators collapsed
  std::string icon;    // folder, name + ".bmp"; as built
};
CategoryPaths categoryPaths(std::string_view gpxfolder, std::string_view category);

// Doubled separators made single, one pass each from left to right: every "\\" into "\"
// where "\" is the separator, then every "//" into "/".
std::string collapseSeparators(std::string_view path);

enum class SoundFormat { None, Wav, Mp3 };

// The address of a category's alert sound: "file://" + the category folder + the base name
// + ".wav", ".mp3" or nothing.
std::string soundLink(std::string_view gpxfolder, std::string_view category,
                      std::string_view baseName, SoundFormat format);

}  // namespace waymint::gpx
