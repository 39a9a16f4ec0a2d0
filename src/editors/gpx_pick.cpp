#include "editors/gpx_pick.h"

#include "app/program.h"
#include "messages/messages.h"

namespace waymint::editors {

namespace {

constexpr const char* preset = "*.gpx";

}  // namespace

std::string pickGpx(app::Program& program) {
  auto chosen = program.platform.openFileDialog({preset, ".gpx", "", {}});
  if (chosen) return *chosen;
  program.platform.messageBox(std::string(messages::cancelSelected), platform::Buttons::Ok);
  return preset;
}

}  // namespace waymint::editors
