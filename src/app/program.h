#pragma once

#include <functional>

#include "app/f1.h"
#include "app/state.h"
#include "platform/platform.h"

namespace waymint::app {

class Program;

// The work of higher folders that the application shell starts without knowing it: the tag
// survey after every load (false when the user cancelled it), and the About window of the File
// menu. Whoever puts the program together sets them once at start-up (workflow::connect); an
// unset one is passed over.
struct PartsAbove {
  std::function<bool(Program&)> get_tags;
  std::function<void(Program&)> showAbout;
};

// One run of the program: the machine it runs on, the shared state and the main window.
class Program {
 public:
  explicit Program(platform::Platform& machine) : platform(machine), f1(*this) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Platform& platform;
  State state;
  app::f1 f1;
  PartsAbove above;
};

}  // namespace waymint::app
