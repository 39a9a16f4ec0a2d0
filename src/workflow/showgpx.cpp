#include "workflow/showgpx.h"

#include "app/program.h"
#include "app/text_search.h"
#include "app/utilities.h"
#include "gpx/gpx_paths.h"

namespace waymint::workflow {
namespace {

constexpr std::string_view npos_marker = "<wpt";

void eraseAll(std::string& text, std::string_view what) {
  for (size_t at; (at = text.find(what)) != std::string::npos;) text.erase(at, what.size());
}

std::string lineFor(std::string_view piece) {
  std::string head(piece.substr(0, piece.find('>')));
  eraseAll(head, "lat=\"");
  eraseAll(head, "lon=\"");
  eraseAll(head, "\"");
  std::string name;
  auto open = app::findText(piece, "<name>");
  if (open != std::string_view::npos) {
    std::string_view after = piece.substr(open + 6);
    after = after.substr(0, app::findText(after, "<name>"));
    auto end = after.find('<');
    if (end != std::string_view::npos) name = after.substr(0, end);
  }
  return head + " " + name;
}

}  // namespace

std::vector<std::string> waypointLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t at = app::findText(text, npos_marker);
  while (at != std::string_view::npos) {
    size_t start = at + npos_marker.size();
    size_t next = app::findText(text, npos_marker, start);
    lines.push_back(lineFor(text.substr(start, next == std::string_view::npos ? std::string_view::npos : next - start)));
    at = next;
  }
  return lines;
}

void showgpx(app::Program& program) {
  auto& list = program.f1.List3;
  list.clear();
  const auto& state = program.state;
  const std::string path = gpx::categoryPaths(state.gpxfolder, state.category).gpx;
  const std::string text = app::loadtext(program, path);
  if (!text.empty()) list.setItems(waypointLines(text));
  app::busy_off(program);
}

}  // namespace waymint::workflow
