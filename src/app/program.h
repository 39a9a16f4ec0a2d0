#pragma once

#include "app/f1.h"
#include "app/state.h"
#include "platform/platform.h"

namespace waymint::app {

// One run of the program: the machine it runs on, the shared state and the main window.
class Program {
 public:
  explicit Program(platform::Platform& machine) : platform(machine), f1(*this) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Platform& platform;
  State state;
  app::f1 f1;
};

}  // namespace waymint::app
