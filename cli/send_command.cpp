// `send`: the GPI files of a GPX folder's categories onto a navigator, as the window's
// "Send to navigator" writes them.
#include <cerrno>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "messages/messages.h"
#include "platform/files.h"
#include "workflow/send_to_navigator.h"

namespace waymint::cli {

int runSend(const Invocation& invocation, Session& session) {
  if (!platform::files::isFolder(invocation.gpxFolder)) {
    const bool there = platform::files::exists(invocation.gpxFolder);
    session.complain(messages::cannotRead(invocation.gpxFolder,
                                          std::strerror(there ? ENOTDIR : ENOENT)));
    return exitUsage;
  }
  workflow::SendRequest request;
  request.gpxFolder = invocation.gpxFolder;
  request.categories = invocation.categories;
  request.navigator = invocation.device;
  const workflow::SendOutcome outcome = workflow::sendToNavigator(session.program(), request);
  for (const workflow::SentFile& file : outcome.sent) {
    session.print({file.category, std::to_string(file.pois), file.path});
  }
  return outcome.complete ? exitOk : exitFailure;
}

}  // namespace waymint::cli
