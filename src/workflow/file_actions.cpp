// The main window's actions on the chosen category's GPX, the GPX folder button and the
// launchers of POI Loader and Pixmold.
#include "app/program.h"
#include "dialogs/folders.h"
#include "platform/files.h"

namespace waymint::app {

namespace files = platform::files;
using platform::Answer;
using platform::Buttons;

void f1::Command3_Click() {
  const std::string& gpxpath = m_program.state.gpxpath;
  if (!files::isOrdinaryFile(gpxpath)) {
    m_program.platform.messageBox("Cannot find gpx:\r\n'" + gpxpath + "'", Buttons::Ok);
  } else if (!gpxpath.empty()) {
    m_program.platform.shellOpen("Open", gpxpath, "", 1);
  }
}

void f1::Command4_Click() {
  if (operationInProgress()) return;
  const std::string gpxpath = m_program.state.gpxpath;
  if (gpxpath.empty() || !files::isOrdinaryFile(gpxpath)) return;
  if (m_program.platform.messageBox("Are you sure you want to delete '" + gpxpath + "'",
                                    Buttons::OkCancel) != Answer::Ok) {
    return;
  }
  try {
    files::removeFile(gpxpath);
    List3.clear();
  } catch (const files::IoError& error) {
    m_program.platform.messageBox(error.what(), Buttons::Ok);
  }
}

void f1::command5_Click() {
  if (operationInProgress()) return;
  dialogs::folders picker(m_program);
  picker.Form_Load();
  m_program.platform.showModal(picker);
  if (List1(2).count() > 0 &&
      m_program.platform.messageBox("This will clear current list.Do you want to continue?",
                                    Buttons::YesNo) != Answer::Yes) {
    // Not going on keeps the folder the box shows, so that the GPX files are written where
    // the window says they are.
    m_program.state.gpxfolder = Text1.text();
    return;
  }
  Text1.setText(m_program.state.gpxfolder);
  List1(0).clear();
  List1(2).clear();
}

void f1::Picture5_Click(int Index) {
  const State& state = m_program.state;
  if (Index != 0 && Index != 1) return;
  m_program.platform.shellOpen("Open", Index == 0 ? state.stylepath : state.loaderpath, "", 0);
}

}  // namespace waymint::app
