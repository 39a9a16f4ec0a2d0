// The main window's start-up and its close: the state file is read at start and written
// at every close request.
#include "app/caption.h"
#include "app/file_menu.h"
#include "app/program.h"
#include "app/state_file.h"
#include "app/state_location.h"

namespace waymint::app {
namespace {

const char* const template18 = "[0xNNN resolution 18]";
const char* const template21 = "[0xNNN resolution 21]";

}  // namespace

void f1::Form_Load() { startUp(true); }

void f1::startUp(bool withStateFile) {
  State& state = m_program.state;
  state.quote.assign(1, '"');
  state.crlf.assign({'\r', '\n'});
  state.apppath = m_program.platform.executableFolder();
  state.restemplates = {template18, template18, template21};
  if (withStateFile) {
    state.statelocation = locateStateFile(m_program.platform, state.apppath);
    loaddata(m_program);
  }
  showRecentFiles(m_program);
  for (int i = 0; i < 3; ++i) {
    if (state.restemplates[i].find('x') == std::string::npos) {
      state.restemplates[i] = i < 2 ? template18 : template21;
    }
  }
  state.version = 0.27f;
  cap(m_program);
  // The GPX folder defaults to the program's own folder; a program that keeps the user's
  // files apart from itself (installed, or in a folder it cannot write) starts in the home
  // folder, where the user can write.
  if (state.gpxfolder.empty()) {
    Text1.setText(state.statelocation.inConfigFolder ? m_program.platform.homeFolder()
                                                     : state.apppath);
  }
  Text1.setText(state.gpxfolder);
  if (state.alert) Check2.setValue(1);
  Check3.setValue(state.choices.areas ? 1 : 0);
  Check4.setValue(state.choices.exact ? 1 : 0);
  Check5.setValue(state.choices.details ? 1 : 0);
  Text3(0).setEnabled(state.alert);
  Text3(1).setEnabled(state.alert);
  Opt(0).setEnabled(Check1.value() == 1);  // the sound kept in the state file
  Opt(1).setEnabled(Check1.value() == 1);
  Shape6.setBackColor({240, 240, 245});
}

void f1::Form_QueryUnload() { savedata(m_program); }

void f1::Form_Unload() {
  close();
  m_program.platform.endProcess();
}

void f1::requestClose() {
  if (closed()) return;
  if (operationInProgress()) {
    m_closePending = true;
    return;
  }
  Form_QueryUnload();
  Form_Unload();
}

f1::Operation::Operation(f1& window, Kind kind) : m_window(window), m_kind(kind) {
  if (m_window.m_operations++ == 0) {
    m_window.List1(0).setEnabled(false);
    m_window.List1(2).setEnabled(false);
  }
  if (m_kind != Kind::Other) ++m_window.m_loadsAndRuns;
}

f1::Operation::~Operation() {
  if (m_kind != Kind::Other) --m_window.m_loadsAndRuns;
  if (--m_window.m_operations > 0) return;
  m_window.List1(0).setEnabled(true);
  m_window.List1(2).setEnabled(true);
  if (m_window.m_closePending) {
    m_window.m_closePending = false;
    m_window.requestClose();
  }
}

}  // namespace waymint::app
