// The File menu of the main window: Open, About, Exit and the eight recent files.
#include "app/file_menu.h"

#include <utility>

#include "app/caption.h"
#include "app/osm_loader.h"
#include "app/program.h"
#include "app/utilities.h"
#include "platform/files.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

constexpr int firstRecent = 9;
constexpr int lastRecent = 16;

std::string folderOf(const std::optional<std::string>& path) {
  if (!path) return "";
  auto cut = path->find_last_of("/\\");
  return cut == std::string::npos ? "" : path->substr(0, cut + 1);
}

// Loads `name` as the current OSM file: the lists of the previous file are emptied, the
// survey lists the new categories, the file goes to the top of the recent entries and the
// caption shows it. A file that cannot be read leaves the previous one loaded, untouched.
void openOsm(Program& program, const std::string& name, bool fromDialog) {
  State& state = program.state;
  f1& window = program.f1;
  const std::string previous = state.osmfile;
  state.osmfile = name;  // the caption names the file while it loads
  ChunkTable loaded;
  if (!loadbinary(program, name, loaded)) {
    state.osmfile = previous;
    cap(program);
    return;
  }
  if (fromDialog) state.lastosm = name;
  window.List1(0).clear();
  window.List2.clear();
  window.Text4.setText("");
  state.chunks = std::move(loaded);
  if (program.above.get_tags) program.above.get_tags(program);
  updatmf(program, name);
  cap(program);
}

}  // namespace

void updatmf(Program& program, const std::string& name) {
  f1& window = program.f1;
  int found = 0;
  for (int index = firstRecent; index <= lastRecent && !found; ++index) {
    if (window.mf(index).caption() == name) found = index;
  }
  if (found == firstRecent) return;
  for (int j = found ? found : lastRecent; j > firstRecent; --j) {
    window.mf(j).setCaption(window.mf(j - 1).caption());
  }
  window.mf(firstRecent).setCaption(name);
  for (int index = firstRecent; index <= lastRecent; ++index) {
    window.mf(index).setEnabled(files::isOrdinaryFile(window.mf(index).caption()));
  }
}

void f1::mf_Click(int Index) {
  Program& program = m_program;
  if (Index == 6) {
    if (program.above.showAbout) program.above.showAbout(program);
    return;
  }
  if (Index == 8) {
    requestClose();
    return;
  }
  const bool open = Index == 2;
  const bool recent = Index >= firstRecent && Index <= lastRecent;
  if ((!open && !recent) || operationInProgress()) return;

  std::string name;
  if (open) {
    auto chosen = program.platform.openFileDialog({"*.osm", ".osm", folderOf(program.state.lastosm)});
    if (!chosen) return;
    name = *chosen;
  } else {
    name = mf(Index).caption();
  }
  if (!pickedFileExists(name)) return;

  Operation loading(*this, Operation::Kind::Load);
  if (open) enabled_(program, false);
  openOsm(program, name, open);
  if (open) enabled_(program, true);
}

}  // namespace waymint::app
