#include "editors/edit.h"

#include <optional>
#include <string_view>

#include "app/program.h"
#include "app/utilities.h"
#include "editors/gpx_pick.h"
#include "messages/messages.h"
#include "osm/text_search.h"

namespace waymint::editors {

using platform::Buttons;

namespace {

using osm::npos;
constexpr std::string_view waypointMark = "<wpt ";
constexpr std::string_view nameOpen = "<name>";
constexpr std::string_view endTagOpen = "</";

size_t waypointCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = osm::findText(text, waypointMark); at != npos;
       at = osm::findText(text, waypointMark, at + waypointMark.size())) {
    ++count;
  }
  return count;
}

// The name of one waypoint: after its first "<name>" (up to a second one, if any), the text
// before the first "</". Nothing when either is missing.
std::optional<std::string_view> nameOf(std::string_view chunk) {
  const size_t nameAt = osm::findText(chunk, nameOpen);
  if (nameAt == npos) return std::nullopt;
  std::string_view rest = chunk.substr(nameAt + nameOpen.size());
  rest = rest.substr(0, osm::findText(rest, nameOpen));
  const size_t endAt = osm::findText(rest, endTagOpen);
  if (endAt == npos) return std::nullopt;
  return rest.substr(0, endAt);
}

}  // namespace

edit::edit(app::Program& program) : Window("edit", "Edit"), m_program(program) {
  own(List1);
  for (int index = 0; index <= 2; ++index) own(Text1.add(index, "Text1", "Text1"));
  own(Command1);
  own(mf);
  const char* entries[] = {"Open GPX", "-", "Save GPX", "-", "Exit"};
  for (int index = 0; index <= 4; ++index) own(mff.add(index, "mff", entries[index]));
}

void edit::Form_Load() { List1.clear(); }

void edit::Form_Activate() { app::busy_off(m_program); }

void edit::mff_Click(int Index) {
  switch (Index) {
    case 0: openGpx(); break;
    case 4: close(); break;
    default: break;  // "Save GPX" does nothing
  }
}

void edit::Command1_Click() { close(); }

void edit::openGpx() {
  std::string path = pickGpx(m_program);
  if (!app::pickedFileExists(path)) return;
  List1.clear();
  parsegpx(path);
}

std::string edit::loadtext2(const std::string& path) { return app::readTextFile(m_program, path); }

void edit::parsegpx(const std::string& path) {
  const std::string text = loadtext2(path);
  const std::string_view whole(text);
  m_program.platform.messageBox(std::to_string(waypointCount(whole)), Buttons::Ok);

  for (size_t at = osm::findText(whole, waypointMark); at != npos;) {
    const size_t start = at + waypointMark.size();
    at = osm::findText(whole, waypointMark, start);
    if (auto name = nameOf(whole.substr(start, at == npos ? npos : at - start))) {
      List1.addItem(std::string(*name));
    } else {
      m_program.platform.messageBox(std::string(messages::invalidCall), Buttons::Ok);
    }
  }
  app::busy_off(m_program);
}

}  // namespace waymint::editors
