#include "gpx/gpx_paths.h"

#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::gpx {
namespace {

constexpr std::string_view forbidden = "/\\:*?\"<>|";

bool isControl(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 32 || code == 127;
}

}  // namespace

std::string fileName(std::string_view category) {
  std::string name(category);
  for (char& c : name) {
    if (isControl(c) || forbidden.find(c) != osm::npos) c = '_';
  }
  if (!name.empty() && name.find_first_not_of('.') == std::string::npos) {
    name.assign(name.size(), '_');
  }
  return name;
}

std::string collapseSeparators(std::string_view path) {
  // Where "\\" is no separator, two of them are two characters of a name.
  const std::string once = platform::files::separator == '\\'
                               ? osm::replaceAll(path, "\\\\", "\\")
                               : std::string(path);
  return osm::replaceAll(once, "//", "/");
}

CategoryPaths categoryPaths(std::string_view gpxfolder, std::string_view category) {
  const std::string name = fileName(category);
  const char sep = platform::files::separator;
  CategoryPaths paths;
  paths.folder = std::string(gpxfolder) + sep + name;
  paths.gpx = collapseSeparators(paths.folder + sep + name + ".gpx");
  paths.icon = paths.folder + sep + name + ".bmp";
  return paths;
}

std::string soundLink(std::string_view gpxfolder, std::string_view category,
                      std::string_view baseName, SoundFormat format) {
  const char sep = platform::files::separator;
  std::string link = "file://" + std::string(gpxfolder) + sep + fileName(category) + sep +
                     std::string(baseName);
  if (format == SoundFormat::Wav) link += ".wav";
  if (format == SoundFormat::Mp3) link += ".mp3";
  return link;
}

}  // namespace waymint::gpx
