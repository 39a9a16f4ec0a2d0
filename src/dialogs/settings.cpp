#include "dialogs/settings.h"

#include "app/program.h"
#include "app/utilities.h"
#include "messages/messages.h"
#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::dialogs {

namespace {

constexpr platform::Rgb lightYellow{255, 255, 128};
constexpr const char* programPattern = "*.exe";
#ifdef _WIN32
constexpr bool anyExecutable = false;
#else
// Where programs carry no ".exe", a program is any executable file, whatever its name.
constexpr bool anyExecutable = true;
#endif

}  // namespace

settings::settings(app::Program& program) : Window("settings", "Settings"), m_program(program) {
  own(Label1.add(0, "Label1", "POI  Loader"));
  own(Text1.add(0, "Text1", "path"));
  own(Command2.add(0, "Command2", "<<")).setBackColor(lightYellow);
  own(Label1.add(5, "Label1", "Pixmold"));
  own(Text1.add(1, "Text1", "path"));
  own(Command2.add(1, "Command2", "<<")).setBackColor(lightYellow);
  own(Command3);
}

void settings::Form_Load() {
  Text1(0).setText(m_program.state.loaderpath);
  Text1(1).setText(m_program.state.stylepath);
}

void settings::Command2_Click(int Index) {
  if (anyExecutable) {
    // "All files": a name filter cannot pick files by their permissions; the choice is checked.
    auto chosen = m_program.platform.openFileDialog({"*", "", "", {"All files (*)"}});
    if (chosen) takeProgram(Index, *chosen);
    return;
  }
  // A cancelled dialog gives back its preset, which the check below refuses.
  auto chosen = m_program.platform.openFileDialog({programPattern, programPattern, "", {}});
  const std::string path = chosen.value_or(programPattern);
  if (!app::pickedFileExists(path)) return;

  const std::string lower = osm::lowerCase(path);
  if (Index == 0) {
    if (!osm::containsText(lower, "loader.exe")) {
      m_program.platform.messageBox(std::string(messages::poiLoaderNotFound),
                                    platform::Buttons::Ok);
      return;
    }
    m_program.state.loaderpath = path;
    Text1(0).setText(path);
  } else if (Index == 1) {
    if (!osm::containsText(lower, ".exe")) {
      m_program.platform.messageBox(std::string(messages::programNotFound), platform::Buttons::Ok);
      return;
    }
    m_program.state.stylepath = path;
    Text1(1).setText(path);
  }
}

bool settings::takeProgram(int Index, const std::string& path) {
  if (!platform::files::isExecutableFile(path)) {
    m_program.platform.messageBox(messages::notAProgram(path), platform::Buttons::Ok);
    return false;
  }
  (Index == 0 ? m_program.state.loaderpath : m_program.state.stylepath) = path;
  Text1(Index).setText(path);
  return true;
}

void settings::Command3_Click() {
  // A path typed into a box is taken as a picked one; an emptied box leaves the program unset.
  // One that names no program keeps the window open, so that it can be mended.
  for (int index : {0, 1}) {
    std::string& stored = index == 0 ? m_program.state.loaderpath : m_program.state.stylepath;
    const std::string typed = Text1(index).text();
    if (typed == stored) continue;
    if (typed.empty()) {
      stored.clear();
    } else if (!takeProgram(index, typed)) {
      return;
    }
  }
  close();
}

}  // namespace waymint::dialogs
