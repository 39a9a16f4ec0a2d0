#include "app/utilities.h"

#include <new>
#include <vector>

#include "app/program.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::app {

namespace files = platform::files;
using platform::Buttons;

void busy_on(Program& program) { program.platform.setBusyPointer(true); }

void busy_off(Program& program) { program.platform.setBusyPointer(false); }

std::string loadtext(Program& program, const std::string& path) {
  if (!files::isOrdinaryFile(path)) return "";
  program.state.osmfile = path;
  return readTextFile(program, path);
}

std::string readTextFile(Program& program, const std::string& path) {
  if (!files::isOrdinaryFile(path)) return "";
  program.state.starttime = program.platform.secondsSinceMidnight();
  busy_on(program);
  std::string text;
  try {
    text = files::readWhole(path);
  } catch (const files::IoError& error) {
    program.platform.messageBox(error.message(), Buttons::Ok);
  } catch (const std::bad_alloc&) {
    program.platform.messageBox(messages::outOfMemoryReading(path), Buttons::Ok);
  }
  program.platform.yield();
  return text;
}

bool pickedFileExists(const std::string& path) {
  return files::isOrdinaryFile(path) && path.find('*') == std::string::npos;
}

std::string fixpath(std::string& p) {
  p = files::native(p);
  return p;
}

bool makdir(Program& program, const std::string& s1) {
  std::string p = files::native(s1);
  if (p.empty() || p.back() != files::separator) p += files::separator;

  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t cut; (cut = p.find(files::separator, start)) != std::string::npos; start = cut + 1) {
    pieces.push_back(p.substr(start, cut - start));
  }
  pieces.push_back(p.substr(start));
  const size_t n = pieces.size() - 1;

  auto invalid = [&] {
    program.platform.messageBox(messages::invalidFilename(s1), Buttons::Ok);
    return false;
  };
  if (n < 2) return invalid();

  std::string acc = pieces[0];
  for (size_t i = 1; i <= n - 1; ++i) {
    acc += files::separator + pieces[i];
    if (files::exists(acc)) continue;
    try {
      files::makeFolder(acc);
    } catch (const files::IoError& error) {
      // The name is fine; the system said no, and why.
      program.platform.messageBox(error.message(), Buttons::Ok);
      return false;
    }
    program.platform.yield();
    program.platform.yield();
    if (!files::exists(acc)) return invalid();
  }
  return true;
}

void enabled_(Program& program, bool enabled) {
  f1& window = program.f1;
  window.Command1.setEnabled(enabled);
  window.Command2(0).setEnabled(enabled);
  window.Command3.setEnabled(enabled);
  window.Command4.setEnabled(enabled);
  window.Picture5(0).setEnabled(enabled);
  window.Picture5(1).setEnabled(enabled);
  window.Command6.setEnabled(enabled);
}

}  // namespace waymint::app
