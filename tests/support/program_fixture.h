#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_folder.h"

namespace waymint::testing {

// A program on the headless platform whose executable lives in a fresh temporary folder. A
// message the test did not take with takeMessages() fails it.
class ProgramTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::HeadlessPlatform machine;
  std::unique_ptr<app::Program> program;

  ProgramTest();
  void TearDown() override;

  // Creates the program, its parts connected, and runs the main window's load event.
  app::Program& start();
  std::string stateFile() const { return folder / "osm_pois.dat"; }

  // Puts `text` in memory as a loaded OSM file is, without the survey.
  void load(std::string text);
  // Writes `text` as an OSM file and opens it with File > Open.
  void open(const std::string& text, const std::string& name = "map.osm");
  // Selects `category` in List1(2), listing it there first when the survey did not.
  void choose(const std::string& category);
  // A press on the category list after choosing `category`.
  void press(const std::string& category);
  // The create button; its report, or "" when it showed none.
  std::string create();
  // The GPX folder the window writes into (made at start), and a category's GPX in it.
  std::string gpxFolder() const { return folder / "gpx"; }
  std::string gpxOf(const std::string& category) const;

  // The texts of the messages shown since the last call, which no longer fail the test.
  std::vector<std::string> takeMessages();
};

}  // namespace waymint::testing
