#include "gpx/savetext.h"

#include "app/program.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::gpx {

namespace files = platform::files;
using platform::Answer;
using platform::Buttons;

void Savetext(app::Program& program, const std::string& file, const std::string& buffer,
              const files::FolderLock& /*held*/) {
  platform::Platform& machine = program.platform;
  machine.yield();
  machine.yield();
  if (files::isOrdinaryFile(file) &&
      machine.messageBox(messages::overwriteQuestion(file), Buttons::YesNo) != Answer::Yes) {
    return;
  }
  try {
    files::replaceWhole(file, buffer + "\r\n");
  } catch (const files::IoError& error) {
    machine.messageBox(messages::notSaved(file, error.what()), Buttons::Ok);
  }
}

}  // namespace waymint::gpx
