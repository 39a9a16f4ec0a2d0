// The main window's actions on the chosen category's GPX, the GPX folder button and the
// launchers of POI Loader and Pixmold.
#include "workflow/file_actions.h"

#include <string>

#include "app/category_display.h"
#include "app/program.h"
#include "dialogs/folders.h"
#include "messages/messages.h"
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
  if (gpxpath.empty()) {
    program.platform.messageBox(std::string(messages::noCategoryForGpx), Buttons::Ok);
  } else if (!files::isOrdinaryFile(gpxpath)) {
    program.platform.messageBox(messages::cannotFindGpx(gpxpath), Buttons::Ok);
  } else if (!program.platform.shellOpen("Open", gpxpath, "", 1)) {
    program.platform.messageBox(messages::desktopCannotOpen(gpxpath, messages::adviceGpx),
                                Buttons::Ok);
  }
}

void Command4_Click(app::Program& program) {
  if (program.f1.operationInProgress()) return;
  const std::string gpxpath = program.state.gpxpath;
  if (gpxpath.empty() || !files::isOrdinaryFile(gpxpath)) return;
  // Enter must not delete: the question's preset answer is Cancel.
  if (program.platform.messageBox(messages::deleteQuestion(gpxpath), Buttons::OkCancel,
                                  Answer::Cancel) != Answer::Ok) {
    return;
  }
  try {
    files::removeFile(gpxpath);
  } catch (const files::IoError& error) {
    program.platform.messageBox(error.message(), Buttons::Ok);
    return;
  }
  // The window shows the category without its GPX, as a press would now.
  app::f1& w = program.f1;
  w.List3.clear();
  w.List2.clear();
  w.Label6.setCaption("GPX not yet created.");
  w.Frame1.setVisible(true);
  w.Command1.setCaption("Create GPX");
}

void command5_Click(app::Program& program) {
  app::f1& w = program.f1;
  if (w.operationInProgress()) return;
  const std::string before = program.state.gpxfolder;
  dialogs::folders picker(program);
  picker.Form_Load();
  program.platform.showModal(picker);
  // Cancel changes nothing and asks nothing (opening the picker may have written the folder's
  // separators as the platform's).
  if (!picker.confirmed()) {
    program.state.gpxfolder = before;
    return;
  }
  if (w.List1(2).count() > 0 &&
      program.platform.messageBox(std::string(messages::clearListQuestion), Buttons::YesNo) !=
          Answer::Yes) {
    // Not going on keeps the folder the box shows, so that the GPX files are written where
    // the window says they are.
    program.state.gpxfolder = w.Text1.text();
    return;
  }
  w.Text1.setText(program.state.gpxfolder);
  app::CategoryDisplay::clear(program);
  w.List1(2).clear();
  w.Text5.setText("");
}

void Picture5_Click(app::Program& program, int Index) {
  const app::State& state = program.state;
  if (Index != 0 && Index != 1) return;
  const std::string& path = Index == 0 ? state.stylepath : state.loaderpath;
  // Without an icon editor the category's icon goes to the desktop's image editor.
  if (Index == 0 && path.empty() && files::isOrdinaryFile(state.bmppath)) {
    if (!program.platform.shellOpen("Open", state.bmppath, "", 1)) {
      program.platform.messageBox(messages::desktopCannotOpen(state.bmppath, messages::adviceIcon),
                                  Buttons::Ok);
    }
    return;
  }
  if (!program.platform.shellOpen("Open", path, "", 0)) {
    const std::string_view which = Index == 0 ? "Pixmold" : "POI Loader";
    program.platform.messageBox(
        path.empty() ? messages::programNotSet(which) : messages::desktopCannotStart(path),
        Buttons::Ok);
  }
}

}  // namespace waymint::workflow
