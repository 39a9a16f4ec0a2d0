#include "navigator/send.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "messages/messages.h"
#include "navigator/navigator.h"
#include "platform/files.h"

namespace waymint::navigator {
namespace files = platform::files;
namespace {

std::string poiFolderOf(const std::string& navigatorFolder) {
  std::string folder = navigatorFolder;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder.append(poiFolder);
}

bool isSystemError(const files::IoError& error, int number) {
  return error.what() == std::string_view(std::strerror(number));
}

// What a failure on the navigator means: it went, it is full, it cannot be written.
Written classify(platform::Platform& platform, const std::string& navigatorFolder,
                 const std::string& path, const files::IoError& error) {
  if (!files::isFolder(navigatorFolder) || !files::isFolder(poiFolderOf(navigatorFolder))) {
    return {Outcome::Gone, path, messages::navigatorGone(navigatorFolder)};
  }
  if (isSystemError(error, ENOSPC) || isSystemError(error, EDQUOT)) {
    return {Outcome::Full, path, messages::navigatorFull(path)};
  }
  if (isSystemError(error, EROFS)) {
    return {Outcome::ReadOnly, path, messages::navigatorReadOnly(navigatorFolder, error.what())};
  }
  if (auto why = platform.whyNotWritable(poiFolderOf(navigatorFolder))) {
    return {Outcome::ReadOnly, path, messages::navigatorReadOnly(navigatorFolder, *why)};
  }
  return {Outcome::Failed, path, messages::cannotBeWritten(path, error.what())};
}

}  // namespace

std::vector<std::string> categoryFolders(std::string_view gpxFolder) {
  std::vector<std::string> categories;
  for (std::string& name : files::subfolderNames(gpxFolder)) {
    if (files::isOrdinaryFile(categoryFile(gpxFolder, name, ".gpx"))) {
      categories.push_back(std::move(name));
    }
  }
  std::sort(categories.begin(), categories.end());
  return categories;
}

std::string categoryFile(std::string_view gpxFolder, std::string_view category,
                         std::string_view extension) {
  std::string path(gpxFolder);
  if (path.empty() || path.back() != '/') path += '/';
  return path.append(category).append("/").append(category).append(extension);
}

Written preparePoiFolder(platform::Platform& platform, const std::string& navigatorFolder) {
  const std::string folder = poiFolderOf(navigatorFolder);
  const std::string garmin = folder.substr(0, folder.rfind('/'));
  for (const std::string& level : {garmin, folder}) {
    if (files::isFolder(level)) continue;
    if (auto why = platform.whyNotWritable(level.substr(0, level.rfind('/')))) {
      return {Outcome::ReadOnly, folder, messages::navigatorReadOnly(navigatorFolder, *why)};
    }
    try {
      files::makeFolder(level);
    } catch (const files::IoError& error) {
      return classify(platform, navigatorFolder, level, error);
    }
  }
  if (auto why = platform.whyNotWritable(folder)) {
    return {Outcome::ReadOnly, folder, messages::navigatorReadOnly(navigatorFolder, *why)};
  }
  return {Outcome::Written, folder, ""};
}

Written writeGpi(platform::Platform& platform, const std::string& navigatorFolder,
                 std::string_view name, std::string_view bytes) {
  const std::string path = poiFolderOf(navigatorFolder) + "/" + std::string(name) + ".gpi";
  if (!files::isFolder(poiFolderOf(navigatorFolder))) {
    return {Outcome::Gone, path, messages::navigatorGone(navigatorFolder)};
  }
  try {
    files::replaceWhole(path, bytes);
  } catch (const files::FolderNotFlushed&) {
    // The file is whole in its place; the navigator's own flush on unmounting keeps it.
  } catch (const files::IoError& error) {
    return classify(platform, navigatorFolder, path, error);
  }
  return {Outcome::Written, path, ""};
}

std::string roomText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " bytes";
  constexpr const char* units[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes) / 1000.0;
  size_t unit = 0;
  while (value >= 999.95 && unit + 1 < std::size(units)) {
    value /= 1000.0;
    ++unit;
  }
  const auto tenths = static_cast<std::uint64_t>(value * 10.0 + 0.5);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + units[unit];
}

}  // namespace waymint::navigator
