// The Help, Tools and Edit menus of the main window.
#include <string_view>

#include "app/program.h"
#include "app/state_file.h"
#include "app/web_addresses.h"
#include "dialogs/settings.h"
#include "dialogs/updat.h"
#include "editors/edall.h"
#include "editors/edit.h"
#include "platform/files.h"

namespace waymint::app {
namespace {

bool blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

void f1::mhlp_Click(int Index) {
  if (Index == 0) {
    m_program.platform.shellOpen("Open", webAddress(manualPage), "", 0);
  } else if (Index == 2) {
    dialogs::updat window(m_program);
    window.Form_Load();
    m_program.platform.showModal(window);
  }
}

void f1::mtl_Click(int Index) {
  platform::Platform& machine = m_program.platform;
  const State& state = m_program.state;
  if (Index == 0) {
    machine.yield();
    if (!platform::files::isOrdinaryFile(state.stylepath) || blank(state.stylepath)) {
      machine.messageBox("Please locate Style Editor in Settings.", platform::Buttons::Ok);
      return;
    }
    machine.shellOpen("", state.stylepath, state.apppath, 1);
  } else if (Index == 2) {
    dialogs::settings window(m_program);
    window.Form_Load();
    machine.showModal(window);
    savedata(m_program);
  }
}

void f1::medd_Click(int Index) {
  if (Index == 0) {
    editors::edit window(m_program);
    window.Form_Load();
    m_program.platform.showModal(window);
  } else if (Index == 2) {
    editors::edall window(m_program);
    window.Form_Load();
    m_program.platform.showModal(window);
  }
}

}  // namespace waymint::app
