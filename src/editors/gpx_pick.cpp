#include "editors/gpx_pick.h"

#include "app/program.h"

namespace waymint::editors {

namespace {

constexpr const char* preset = "*.gpx";
// The platform's description of a cancelled dialog.
constexpr const char* cancelSelected = "Cancel was selected.";

}  // namespace

std::string pickGpx(app::Program& program) {
  auto chosen = program.platform.openFileDialog({preset, ".gpx", "", {}});
  if (chosen) return *chosen;
  program.platform.messageBox(cancelSelected, platform::Buttons::Ok);
  return preset;
}

}  // namespace waymint::editors
