#include "editors/edall.h"

#include <string>
#include <string_view>

#include "app/program.h"
#include "app/utilities.h"
#include "gpx/gpx_lock.h"
#include "gpx/savetext.h"
#include "messages/messages.h"
#include "osm/number_text.h"
#include "osm/text_finder.h"
#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::editors {

namespace files = platform::files;

namespace {

using osm::npos;
constexpr std::string_view waypointMark = "<wpt";
constexpr std::string_view proximityOpen = "<gpxx:proximity";
constexpr std::string_view proximityClose = "</gpxx:proximity";
constexpr std::string_view commentedProximity = "<!--<gpxx:proximity";
constexpr size_t closingTagLength = std::string_view("</gpxx:Proximity>").size();

// Position of the first `needle` in `text`, letter case ignored.
size_t findIgnoringCase(std::string_view text, std::string_view needle) {
  return osm::TextFinder(needle, osm::TextFinder::Case::Ignore).findIn(text);
}

// What one run does in every waypoint: the element text it looks for and what replaces it.
// The searches behind it run over the whole file, so it is the same for every waypoint.
struct Replacement {
  bool proximityFound = false;
  bool replaces = false;
  // When not empty, replaced by `to` in a chunk before `from` is.
  std::string uncomment;
  std::string from;
  std::string to;
};

Replacement planReplacement(std::string_view text, bool alert, int distance) {
  Replacement plan;
  const size_t p = findIgnoringCase(text, proximityOpen);
  if (p == npos) return plan;
  plan.proximityFound = true;
  const bool commented = findIgnoringCase(text, commentedProximity) != npos;
  if (!alert && commented) return plan;  // the alerts are off already
  const size_t q = findIgnoringCase(text, proximityClose);
  if (q == npos) return plan;

  // The first element from its opening through its closing tag, in the file's own letters.
  const size_t length = (q > p ? q - p : p - q) + closingTagLength;
  const std::string seg(text.substr(p, length));
  const std::string live = "<gpxx:Proximity>" + std::to_string(distance) + "</gpxx:Proximity>";
  plan.replaces = true;
  plan.from = seg;
  if (!alert) {
    plan.to = "<!--" + seg + "-->";
    return plan;
  }
  plan.to = live;
  // A commented element becomes a live one with the new distance, its comment markers gone
  // so that the file stays well-formed; the same element already live in other waypoints
  // takes the new distance too, so that the file does not end with two live distances.
  if (commented) plan.uncomment = "<!--" + seg + "-->";
  return plan;
}

}  // namespace

void edall::changepois() {
  if (m_editfile.empty() || !files::isOrdinaryFile(m_editfile)) {
    message(messages::pleaseSelectFile);
    return;
  }
  // Held from reading the file to replacing it, as a writing run holds it: a run that ended
  // in between would lose its POIs to the rewritten file.
  std::optional<files::FolderLock> lock;
  try {
    if (auto taken = gpx::lockGpx(m_program, m_editfile)) lock.emplace(std::move(*taken));
  } catch (const files::IoError& error) {
    message(error.message());
    return;
  }
  if (!lock) return;
  const std::string text = app::loadtext(m_program, m_editfile);
  if (auto distance = readDistance()) rewrite(text, *distance, *lock);
  app::busy_off(m_program);
}

// The distance typed in the proximity box, read as every number box is; a distance is a
// 16-bit number, so a larger one overflows.
std::optional<int> edall::readDistance() {
  const auto value = osm::boxNumber(Text3(1).text());
  if (!value) {
    message(messages::overflow);
    return std::nullopt;
  }
  if (*value < 1) {
    message(messages::checkProximity);
    return std::nullopt;
  }
  return *value;
}

void edall::rewrite(const std::string& text, int distance, const files::FolderLock& lock) {
  const std::string_view whole(text);
  const size_t first = osm::findText(whole, waypointMark);
  if (first == npos) {
    message(messages::cannotParseFile);
    return;
  }
  message(text);
  const Replacement plan = planReplacement(whole, m_program.state.alert, distance);
  if (!plan.proximityFound) {
    for (size_t at = first; at != npos;) {
      message(messages::proximityNotFound);
      at = osm::findText(whole, waypointMark, at + waypointMark.size());
    }
    return;
  }
  if (!plan.replaces) return;

  std::string rebuilt;
  rebuilt.reserve(text.size() + text.size() / 8);
  rebuilt.append(whole.substr(0, first));
  std::string uncommented;  // one waypoint at a time, its room kept from one to the next
  for (size_t at = first; at != npos;) {
    const size_t start = at + waypointMark.size();
    const size_t next = osm::findText(whole, waypointMark, start);
    std::string_view chunk = whole.substr(start, next == npos ? npos : next - start);
    if (!plan.uncomment.empty()) {
      uncommented.clear();
      osm::replaceAll(uncommented, chunk, plan.uncomment, plan.to);
      chunk = uncommented;
    }
    rebuilt.append(waypointMark);
    osm::replaceAll(rebuilt, chunk, plan.from, plan.to);
    at = next;
  }
  message(messages::saving);
  gpx::Savetext(m_program, m_editfile, rebuilt, lock);
}

}  // namespace waymint::editors
