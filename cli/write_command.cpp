// `write`: the window's controls set as a user would, then for each category a press on it
// and the create button.
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "messages/messages.h"
#include "workflow/category_workflow.h"
#include "workflow/send_to_navigator.h"

namespace waymint::cli {
namespace {

bool blank(const std::string& category) {
  return category.find_first_not_of(' ') == std::string::npos;
}

// The folder picker always gives a full path, and the folder maker takes the first piece of
// a path for its root: a relative folder is made full against the working folder.
std::string fullPath(const std::string& folder) {
  std::error_code failed;
  auto full = std::filesystem::absolute(folder, failed);
  return failed ? folder : full.string();
}

void setControls(const Invocation& invocation, app::Program& program) {
  app::f1& window = program.f1;
  window.Text1.setText(fullPath(invocation.gpxFolder));
  window.Check2.setValue(invocation.alert ? 1 : 0);
  workflow::Check2_MouseUp(program);
  window.Text3(1).setText(invocation.proximity);
  window.Text3(0).setText("20");
  const bool sound = invocation.sound != gpx::SoundFormat::None;
  window.Check1.setValue(sound ? 1 : 0);
  workflow::Check1_MouseUp(program);
  if (sound) {
    const bool wav = invocation.sound == gpx::SoundFormat::Wav;
    window.Opt(0).setValue(wav);
    window.Opt(1).setValue(!wav);
  }
}

// A press on the category (named as the command line names it, escaped) and the create
// button; false when the category was not written.
bool writeCategory(const std::string& category, bool withGpi, Session& session) {
  app::Program& program = session.program();
  const platform::ListBox& categories = program.f1.List1(2);
  const bool listed = session.choose(category);
  session.setSubject(category);
  workflow::List1_MouseDown(program, 2);
  // The press has said why ("Please select", a blank category); the create button would only
  // say it again.
  if (!listed || blank(categories.item(categories.selectedIndex()))) {
    session.setSubject("");
    return false;
  }
  const gpx::RunResult result = workflow::createAndReport(program, [](const std::string&) {});
  if (!result.complete()) {
    session.setSubject("");
    return false;
  }
  const std::string name = categories.item(categories.selectedIndex());
  session.print({name, std::to_string(result.added), program.state.gpxpath});
  bool written = true;
  if (withGpi) {
    const gpi::GpiReport report = workflow::writeGpiBeside(program, program.state.gpxpath, name);
    if (report.written) session.print({name, std::to_string(report.pois), report.gpiPath});
    written = report.written;
  }
  session.setSubject("");
  return written;
}

}  // namespace

int runWrite(const Invocation& invocation, Session& session) {
  if (!session.load(invocation.osmFile)) return exitUsage;
  setControls(invocation, session.program());
  int status = exitOk;
  if (!invocation.all) {
    for (const std::string& category : invocation.categories) {
      if (!writeCategory(category, invocation.gpi, session)) status = exitFailure;
    }
    return status;
  }
  for (const std::string& category : session.window().List1(2).items()) {
    if (blank(category)) {
      // Every category asked for, and one that names nothing: passed over, said, no failure.
      session.complain(messages::blankCategoryPassedOver(category));
    } else if (!writeCategory(escaped(category), invocation.gpi, session)) {
      status = exitFailure;
    }
  }
  return status;
}

}  // namespace waymint::cli
