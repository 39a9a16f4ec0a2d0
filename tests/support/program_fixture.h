#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_folder.h"

namespace waymint::testing {

// A program on the headless platform whose executable lives in a fresh temporary folder.
class ProgramTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::HeadlessPlatform machine;
  std::unique_ptr<app::Program> program;

  ProgramTest() { machine.setExecutableFolder(folder.path()); }

  // Creates the program and runs the main window's load event, as the process start does.
  app::Program& start() {
    program = std::make_unique<app::Program>(machine);
    program->f1.Form_Load();
    return *program;
  }
  std::string stateFile() const { return folder / "osm_pois.dat"; }
};

}  // namespace waymint::testing
