// The main window's actions on the chosen category's GPX, the GPX folder button and the
// launchers of POI Loader and Pixmold.
#include "workflow/file_actions.h"

#include "app/program.h"
#include "dialogs/folders.h"
#include "platform/files.h"

namespace waymint::workflow {

namespace files = platform::files;
using platform::Answer;
using platform::Buttons;

void Command2_Click(app::Program& program, int Index) {
  if (Index == 0) program.f1.mf_Click(2);
}

void Command3_Click(app::Program& program) {
  const std::string& gpxpath = program.state.gpxpath;
  if (!files::isOrdinaryFile(gpxpath)) {
    program.platform.messageBox("Cannot find gpx:\r\n'" + gpxpath + "'", Buttons::Ok);
  } else if (!gpxpath.empty()) {
    program.platform.shellOpen("Open", gpxpath, "", 1);
  }
}

void Command4_Click(app::Program& program) {
  if (program.f1.operationInProgress()) return;
  const std::string gpxpath = program.state.gpxpath;
  if (gpxpath.empty() || !files::isOrdinaryFile(gpxpath)) return;
  if (program.platform.messageBox("Are you sure you want to delete '" + gpxpath + "'",
                                  Buttons::OkCancel) != Answer::Ok) {
    return;
  }
  try {
    files::removeFile(gpxpath);
    program.f1.List3.clear();
  } catch (const files::IoError& error) {
    program.platform.messageBox(error.what(), Buttons::Ok);
  }
}

void command5_Click(app::Program& program) {
  app::f1& w = program.f1;
  if (w.operationInProgress()) return;
  dialogs::folders picker(program);
  picker.Form_Load();
  program.platform.showModal(picker);
  if (w.List1(2).count() > 0 &&
      program.platform.messageBox("This will clear current list.Do you want to continue?",
                                  Buttons::YesNo) != Answer::Yes) {
    // Not going on keeps the folder the box shows, so that the GPX files are written where
    // the window says they are.
    program.state.gpxfolder = w.Text1.text();
    return;
  }
  w.Text1.setText(program.state.gpxfolder);
  w.List1(0).clear();
  w.List1(2).clear();
}

void Picture5_Click(app::Program& program, int Index) {
  const app::State& state = program.state;
  if (Index != 0 && Index != 1) return;
  program.platform.shellOpen("Open", Index == 0 ? state.stylepath : state.loaderpath, "", 0);
}

}  // namespace waymint::workflow
