#include "gpx/gpx_lock.h"

#include "app/program.h"
#include "messages/messages.h"

namespace waymint::gpx {

namespace files = platform::files;

std::optional<files::FolderLock> lockGpx(app::Program& program, const std::string& gpx) {
  if (program.platform.waitsForBusyFiles()) return files::FolderLock::takeFor(gpx);
  std::optional<files::FolderLock> lock = files::FolderLock::tryTakeFor(gpx);
  if (!lock) program.platform.messageBox(messages::gpxInUse(gpx), platform::Buttons::Ok);
  return lock;
}

}  // namespace waymint::gpx
