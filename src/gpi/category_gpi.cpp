#include "gpi/category_gpi.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "gpi/gpi_encoder.h"
#include "gpi/gpx_waypoints.h"
#include "messages/messages.h"
#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::gpi {
namespace {

// The category's icon, or the default one with the reason.
const Bitmap& chooseIcon(std::string_view iconPath, GpiReport& report, Bitmap& own) {
  report.icon = IconUsed::DefaultNoIcon;
  if (iconPath.empty() || !platform::files::exists(iconPath)) return defaultBitmap();
  IconRead read = readIconFile(iconPath);
  if (!read.check.fine()) {
    report.icon = IconUsed::DefaultRejected;
    report.iconCheck = std::move(read.check);
    return defaultBitmap();
  }
  report.icon = IconUsed::Category;
  own = std::move(read.bitmap);
  return own;
}

}  // namespace

std::vector<std::string> GpiReport::notes() const {
  std::vector<std::string> notes;
  if (icon == IconUsed::DefaultRejected)
    notes.push_back(messages::withDefaultIcon(iconCheck.message));
  if (leftOut > 0) {
    notes.push_back(messages::waypointsLeftOut(gpiPath, leftOut));
  }
  if (cutWaypoints > 0) {
    notes.push_back(messages::textsCut(gpiPath, cutWaypoints));
  }
  return notes;
}

std::string gpiPathFor(std::string_view gpxPath) {
  const bool gpx =
      gpxPath.size() >= 4 && osm::lowerCase(gpxPath.substr(gpxPath.size() - 4)) == ".gpx";
  return std::string(gpx ? gpxPath.substr(0, gpxPath.size() - 4) : gpxPath) + ".gpi";
}

GpiReport writeCategoryGpi(std::string_view gpxPath, std::string_view iconPath,
                           std::string_view category, std::uint32_t creationTime) {
  GpiReport report;
  report.gpiPath = gpiPathFor(gpxPath);
  const GpxWaypoints gpx = readGpxFile(gpxPath);
  if (!gpx.error.empty()) {
    report.error = gpx.error;
    return report;
  }
  report.leftOut = gpx.leftOut;
  if (gpx.waypoints.empty()) {
    report.error = messages::noValidWaypoints(gpxPath);
    return report;
  }
  Bitmap own;
  const Bitmap& icon = chooseIcon(iconPath, report, own);
  const Encoded encoded = encode(gpx.waypoints, convertText(category, gpx.codePage), icon,
                                 EncodeOptions{gpx.codePage}, creationTime);
  if (encoded.tooLarge) {
    report.error = messages::tooLargeForGpi(gpxPath);
    return report;
  }
  try {
    platform::files::replaceWhole(report.gpiPath, encoded.bytes);
  } catch (const platform::files::IoError& error) {
    report.error = messages::cannotBeWritten(report.gpiPath, error.what());
    return report;
  }
  report.written = true;
  report.pois = gpx.waypoints.size();
  report.cutWaypoints = encoded.cutWaypoints;
  return report;
}

std::uint32_t freshCreationTime(std::int64_t unixNow) {
  static std::atomic<std::int64_t> last{-1};
  std::int64_t given = last.load();
  std::int64_t next = 0;
  do {
    next = std::max<std::int64_t>(garminTime(unixNow), given + 1);
  } while (!last.compare_exchange_weak(given, next));
  return static_cast<std::uint32_t>(std::min<std::int64_t>(next, UINT32_MAX));
}

std::uint32_t freshCreationTime() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return freshCreationTime(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

}  // namespace waymint::gpi
