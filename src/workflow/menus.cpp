// The Help, Tools and Edit menus of the main window.
#include "workflow/menus.h"

#include <string_view>

#include "app/program.h"
#include "app/state_file.h"
#include "app/web_addresses.h"
#include "dialogs/settings.h"
#include "dialogs/updat.h"
#include "editors/edall.h"
#include "editors/edit.h"
#include "messages/messages.h"
#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::workflow {
namespace {

bool blank(std::string_view text) { return text.find_first_not_of(' ') == osm::npos; }

// Loads a window afresh and shows it modally.
template <typename Window>
void showAfresh(app::Program& program) {
  Window window(program);
  window.Form_Load();
  program.platform.showModal(window);
}

}  // namespace

void mhlp_Click(app::Program& program, int Index) {
  if (Index == 0) {
    const std::string manual = app::webAddress(app::manualPage);
    if (!program.platform.shellOpen("Open", manual, "", 0)) {
      program.platform.messageBox(messages::desktopCannotOpen(manual, messages::adviceWebPage), platform::Buttons::Ok);
    }
  } else if (Index == 2) {
    showAfresh<dialogs::updat>(program);
  }
}

void mtl_Click(app::Program& program, int Index) {
  platform::Platform& machine = program.platform;
  const app::State& state = program.state;
  if (Index == 0) {
    machine.yield();
    if (!platform::files::isOrdinaryFile(state.stylepath) || blank(state.stylepath)) {
      machine.messageBox(std::string(messages::locateStyleEditor), platform::Buttons::Ok);
      return;
    }
    if (!machine.shellOpen("", state.stylepath, state.apppath, 1)) {
      machine.messageBox(messages::desktopCannotStart(state.stylepath), platform::Buttons::Ok);
    }
  } else if (Index == 2) {
    showAfresh<dialogs::settings>(program);
    app::savedata(program);
  }
}

void medd_Click(app::Program& program, int Index) {
  if (Index == 0) {
    showAfresh<editors::edit>(program);
  } else if (Index == 2) {
    showAfresh<editors::edall>(program);
  }
}

}  // namespace waymint::workflow
