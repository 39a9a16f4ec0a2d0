// `write`: the window's controls set as a user would, then for each category a press on it
// and the create button.
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/session.h"

namespace waymint::cli {
namespace {

// The folder picker always gives a full path, and the folder maker takes the first piece of
// a path for its root: a relative folder is made full against the working folder.
std::string fullPath(const std::string& folder) {
  std::error_code failed;
  auto full = std::filesystem::absolute(folder, failed);
  return failed ? folder : full.string();
}

void setControls(const Invocation& invocation, app::f1& window) {
  window.Text1.setText(fullPath(invocation.gpxFolder));
  window.Check2.setValue(invocation.alert ? 1 : 0);
  window.Check2_MouseUp();
  window.Text3(1).setText(invocation.proximity);
  window.Text3(0).setText("20");
  const bool sound = invocation.sound != gpx::SoundFormat::None;
  window.Check1.setValue(sound ? 1 : 0);
  window.Check1_MouseUp();
  if (sound) {
    const bool wav = invocation.sound == gpx::SoundFormat::Wav;
    window.Opt(0).setValue(wav);
    window.Opt(1).setValue(!wav);
  }
}

void writeCategory(const std::string& category, Session& session) {
  app::f1& window = session.window();
  const bool listed = session.choose(category);
  session.setActivity("scanning " + category);
  window.List1_MouseDown(2);
  // The press has said "Please select"; the create button would only say it again.
  if (!listed) return;
  bool reported = false;
  window.createAndReport([&reported](const std::string&) { reported = true; });
  if (!reported) return;
  session.print(category + '\t' + std::to_string(window.List2.count()) + '\t' +
                session.program().state.gpxpath);
}

}  // namespace

int runWrite(const Invocation& invocation, Session& session) {
  if (!session.load(invocation.osmFile)) return exitUsage;
  app::f1& window = session.window();
  setControls(invocation, window);
  const std::vector<std::string> categories =
      invocation.all ? window.List1(2).items() : invocation.categories;
  for (const std::string& category : categories) writeCategory(category, session);
  return session.status();
}

}  // namespace waymint::cli
