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
  struct Case {
    std::string path;
    bool made;
    Texts messages;
    std::string folderAfter;  // a folder that exists afterwards, if any
  };
  const std::vector<Case> cases = {
      {"name", false, {"Invalid filename:name"}, ""},
      {"/", false, {"Invalid filename:/"}, ""},
      {folder / "a/b/c", true, {}, folder / "a/b/c"},
      {folder / "d\\e", true, {}, folder / "d\\e"},  // a "\\" is part of a name
      {folder / "a/b", true, {}, folder / "a/b"},
      // The name is fine: the system's refusal is said with the folder it concerns.
      {folder / "file.txt/sub", false, {folder / "file.txt/sub: Not a directory"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(app::makdir(*program, c.path), c.made);
    EXPECT_EQ(takeMessages(), c.messages);
    EXPECT_TRUE(c.folderAfter.empty() || platform::files::isFolder(c.folderAfter));
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

TEST_F(UtilitiesTest, FixpathAndTheButtonGroup) {
  // Where "/" is the separator, a "\\" belongs to a name and stays.
  std::string p = "/maps/a\\b/gpx";
  EXPECT_EQ(app::fixpath(p), "/maps/a\\b/gpx");
  EXPECT_EQ(p, "/maps/a\\b/gpx");

  app::f1& w = start().f1;
  std::vector<platform::Control*> group = {&w.Command1, &w.Command2(0), &w.Command3,
                                           &w.Command4, &w.Picture5(0), &w.Picture5(1)};
  for (bool state : {false, true}) {
    for (size_t i = 0; i < group.size(); ++i) group[i]->setEnabled(i % 2 == 0 ? state : !state);
    app::enabled_(*program, state);
    for (platform::Control* c : group) EXPECT_EQ(c->enabled(), state) << c->name();
  }
}

}  // namespace
}  // namespace waymint::testing
