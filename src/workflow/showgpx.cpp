#include "workflow/showgpx.h"

#include <new>

#include "app/program.h"
#include "app/utilities.h"
#include "gpx/gpx_paths.h"
#include "messages/messages.h"
#include "osm/text_search.h"

namespace waymint::workflow {
namespace {

using osm::npos;
constexpr std::string_view waypointMark = "<wpt";

std::string lineFor(std::string_view piece) {
  std::string head = osm::replaceAll(piece.substr(0, piece.find('>')), "lat=\"", "");
  head = osm::replaceAll(osm::replaceAll(head, "lon=\"", ""), "\"", "");
  std::string_view name;
  const size_t open = osm::findText(piece, "<name>");
  if (open != npos) {
    std::string_view after = piece.substr(open + 6);
    after = after.substr(0, osm::findText(after, "<name>"));
    const size_t end = after.find('<');
    if (end != npos) name = after.substr(0, end);
  }
  head.reserve(head.size() + 1 + name.size());
  return head.append(" ").append(name);
}

}  // namespace

std::vector<std::string> waypointLines(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t at = osm::findText(text, waypointMark); at != npos;) {
    const size_t start = at + waypointMark.size();
    at = osm::findText(text, waypointMark, start);
    lines.push_back(lineFor(text.substr(start, at == npos ? npos : at - start)));
  }
  return lines;
}

void showgpx(app::Program& program) {
  auto& list = program.f1.List3;
  list.clear();
  const auto& state = program.state;
  const std::string path = gpx::categoryPaths(state.gpxfolder, state.category).gpx;
  const std::string text = app::loadtext(program, path);
  try {
    if (!text.empty()) list.setItems(waypointLines(text));
  } catch (const std::bad_alloc&) {
    // Only the list is lost: the run that wrote the GPX, and the next ones, go on.
    list.clear();
    program.platform.messageBox(messages::outOfMemoryReading(path), platform::Buttons::Ok);
  }
  app::busy_off(program);
}

}  // namespace waymint::workflow
