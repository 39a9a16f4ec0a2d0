#include <gtest/gtest.h>

#include "app/utilities.h"
#include "platform/files.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
using UtilitiesTest = ProgramTest;

TEST_F(UtilitiesTest, MakdirMakesEveryMissingFolderOrSaysWhy) {
  start();
  folder.write("file.txt", "x");
  const std::vector<std::pair<std::string, std::string>> cases = {  // path, message ("": made)
      {"name", "Invalid filename:name"},
      {"/", "Invalid filename:/"},
      {folder / "a/b/c", ""},
      {folder / "d\\e", ""},  // a "\\" is part of a name
      {folder / "a/b", ""},
      // The name is fine: the system's refusal is said with the folder it concerns.
      {folder / "file.txt/sub", folder / "file.txt/sub: Not a directory"},
  };
  for (const auto& [path, message] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(app::makdir(*program, path), message.empty());
    EXPECT_EQ(takeMessages(), message.empty() ? Texts{} : Texts{message});
    EXPECT_TRUE(!message.empty() || platform::files::isFolder(path));
  }
}

TEST_F(UtilitiesTest, LoadtextReadsExactBytesAndRecordsThePath) {
  start();
  program->state.osmfile = "/maps/before.osm";
  const int busyChanges = machine.busyChanges();
  EXPECT_EQ(app::loadtext(*program, folder / "missing.gpx"), "");
  EXPECT_EQ(app::loadtext(*program, folder.path()), "");  // a folder is no file
  EXPECT_EQ(program->state.osmfile, "/maps/before.osm");
  EXPECT_EQ(machine.busyChanges(), busyChanges);

  const std::string bytes("line 1\r\nline 2\n\0\xe9\xff end", 22);
  const std::string path = folder.write("some.gpx", bytes);
  EXPECT_EQ(app::loadtext(*program, path), bytes);
  EXPECT_EQ(program->state.osmfile, path);
  EXPECT_TRUE(machine.busyPointer());  // left on for the caller
}

TEST_F(UtilitiesTest, TheButtonGroupIsEnabledAndDisabledTogether) {
  app::f1& w = start().f1;
  std::vector<platform::Control*> group = {&w.Command1, &w.Command2(0), &w.Command3,
                                           &w.Command4, &w.Picture5(0), &w.Picture5(1),
                                           &w.Command6};
  for (bool state : {false, true}) {
    for (platform::Control* c : group) c->setEnabled(!state);
    app::enabled_(*program, state);
    for (platform::Control* c : group) EXPECT_EQ(c->enabled(), state) << c->name();
  }
}

}  // namespace
}  // namespace waymint::testing
