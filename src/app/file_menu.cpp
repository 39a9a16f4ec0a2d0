// The File menu of the main window: Open, About, Exit and the eight recent files.
#include "app/file_menu.h"

#include <utility>
#include <vector>

#include "app/caption.h"
#include "app/category_display.h"
#include "app/osm_loader.h"
#include "app/program.h"
#include "app/utilities.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

constexpr int firstRecent = 9;
constexpr std::string_view osmFilesFilter =
    "OpenStreetMap files (*.osm *.osm.pbf *.pbf *.osm.bz2 *.bz2 *.osm.gz *.gz)";
constexpr int lastRecent = 16;

std::string folderOf(const std::optional<std::string>& path) {
  if (!path) return "";
  auto cut = path->find_last_of("/\\");
  return cut == std::string::npos ? "" : path->substr(0, cut + 1);
}

// What the window shows of the file loaded before: put back when the next one cannot be read
// or the user cancels its loading. The caption is put back as it was, not made again from
// `osmfile`: that names the last file read whole, which may be a category's GPX by now.
class ShownFile {
 public:
  explicit ShownFile(Program& program)
      : m_program(program),
        m_caption(program.f1.caption()),
        m_osmfile(program.state.osmfile),
        m_categories(program.f1.List1(2).items()),
        m_selected(program.f1.List1(2).selectedIndex()),
        m_category(program) {}

  void restore() {
    m_program.state.osmfile = m_osmfile;
    m_program.f1.List1(2).setItems(m_categories);
    m_program.f1.List1(2).setSelectedIndex(m_selected);
    m_category.restoreTo(m_program);
    m_program.f1.setCaption(m_caption);
  }

 private:
  Program& m_program;
  std::string m_caption;
  std::string m_osmfile;
  std::vector<std::string> m_categories;
  int m_selected;
  CategoryDisplay m_category;
};

// Loads `name` as the current OSM file: the lists of the previous file are emptied, the
// survey lists the new categories, the file goes to the top of the recent entries and the
// caption shows it. A file that cannot be read, or whose loading or survey the user cancels,
// leaves the previous one loaded with all the window showed of it.
Loaded openOsm(Program& program, const std::string& name, bool fromDialog) {
  State& state = program.state;
  f1& window = program.f1;
  ShownFile before(program);
  state.osmfile = name;  // the caption names the file while it loads
  // Nothing of the file before shows while this one loads.
  window.List1(2).clear();
  CategoryDisplay::clear(program);
  ChunkTable loaded;
  if (const Loaded result = loadbinary(program, name, loaded); result != Loaded::Yes) {
    before.restore();
    return result;
  }
  ChunkTable previous = std::exchange(state.chunks, std::move(loaded));
  if (program.above.get_tags && !program.above.get_tags(program)) {
    state.chunks = std::move(previous);
    before.restore();
    return Loaded::Cancelled;
  }
  if (fromDialog) state.lastosm = name;
  window.Text5.setText("");  // the filter was for the categories of the file before
  updatmf(program, name);
  cap(program);
  return Loaded::Yes;
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
  // An entry whose file has gone stays enabled: choosing it says so and offers to remove it.
  for (int index = firstRecent; index <= lastRecent; ++index) {
    window.mf(index).setEnabled(!window.mf(index).caption().empty());
  }
  showRecentFiles(program);
}

void offerToForget(Program& program, int index) {
  f1& window = program.f1;
  const std::string name = window.mf(index).caption();
  if (program.platform.messageBox(messages::recentFileGone(name), platform::Buttons::YesNo) !=
      platform::Answer::Yes) {
    return;
  }
  for (int j = index; j < lastRecent; ++j) {
    window.mf(j).setCaption(window.mf(j + 1).caption());
    window.mf(j).setEnabled(!window.mf(j).caption().empty());
  }
  window.mf(lastRecent).setCaption("");
  showRecentFiles(program);
}

void showRecentFiles(Program& program) {
  for (int index = firstRecent; index <= lastRecent; ++index) {
    platform::MenuEntry& entry = program.f1.mf(index);
    entry.setVisible(!entry.caption().empty());
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
  if (!open && !recent) return;
  if (operationInProgress()) {
    program.platform.messageBox(std::string(messages::busyForFileMenu), platform::Buttons::Ok);
    return;
  }

  if (!open) {
    const std::string name = mf(Index).caption();
    if (name.empty()) return;
    if (!pickedFileExists(name)) {
      offerToForget(program, Index);
      return;
    }
    Operation loading(*this, Operation::Kind::Load);
    openOsm(program, name, false);
    return;
  }
  platform::OpenDialogRequest request{"*.osm", ".osm", folderOf(program.state.lastosm), {}};
  request.filters = {std::string(osmFilesFilter), "All files (*)"};
  if (auto chosen = program.platform.openFileDialog(request)) openChosen(*chosen);
}

bool f1::reloadOsm() {
  State& state = m_program.state;
  if (operationInProgress() || !state.chunks.loaded) return false;
  const std::string name = state.chunks.file;
  Operation loading(*this, Operation::Kind::Load);
  enabled_(m_program, false);
  const bool loaded = openOsm(m_program, name, false) == Loaded::Yes;
  enabled_(m_program, true);
  return loaded;
}

void f1::Form_OLEDragDrop(const std::string& path) {
  if (!operationInProgress()) openChosen(path);
}

void f1::openCommandLineFile(const std::string& path) {
  if (!operationInProgress()) openAsPicked(path);
}

std::optional<Loaded> f1::openChosen(const std::string& name) {
  if (!pickedFileExists(name)) return std::nullopt;
  return openAsPicked(name);
}

Loaded f1::openAsPicked(const std::string& name) {
  Operation loading(*this, Operation::Kind::Load);
  enabled_(m_program, false);
  const Loaded result = openOsm(m_program, name, true);
  enabled_(m_program, true);
  return result;
}

}  // namespace waymint::app
