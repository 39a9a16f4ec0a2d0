#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

// The state file of a user who set everything: a comma and a leading quote in recent
// entries, a trailing blank in the spare text.
const std::string fullFile =
    " .27\r\n/maps/a, b.osm\r\n\"/maps/quoted.osm\r\n\r\n\r\n\r\n\r\n\r\n/maps/last.osm\r\n"
    "[0xNNN resolution 18]\r\n/opt/pixmold.exe\r\nspare text \r\nTrue\r\n/data/gpx\r\n"
    "/opt/poiloader.exe\r\n/maps/a, b.osm\r\n[0xNNN resolution 18]\r\n[0xNNN resolution 21]\r\n"
    "0\r\n0\r\n0\r\n0\r\n";

// The first twelve lines a start without a state file writes.
const std::string noFirstTwelve =
    " .27\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n[0xNNN resolution 18]\r\n\r\n\r\n";

class StateFileTest : public ProgramTest {
 protected:
  // The program as it starts: the load event only, the state file read when there is one.
  app::Program& boot() {
    program = std::make_unique<app::Program>(machine);
    program->f1.Form_Load();
    return *program;
  }
  // The file a start without any stored value after `firstTwelve` writes back.
  std::string defaultsWith(const std::string& firstTwelve) {
    return firstTwelve + "False\r\n" + folder.path() +
           "\r\n\r\n\r\n[0xNNN resolution 18]\r\n[0xNNN resolution 21]\r\n0\r\n0\r\n0\r\n0\r\n";
  }
};

// What a start reads shows in the window (the GPX folder, the alert) and in what the close
// writes; then a close writes the twenty-two lines of every value set.
TEST_F(StateFileTest, WhatAStartReadsAndWhatACloseWrites) {
  const std::string firstTwelve = fullFile.substr(0, fullFile.find("True\r\n"));
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  struct Case { const char* what; std::optional<std::string> stored; std::string expected; };
  const std::vector<Case> cases = {
      {"no state file (the first start)", std::nullopt, defaultsWith(noFirstTwelve)},
      {"every value read back whole", fullFile, fullFile},
      {"another version on line 1", replaced(fullFile, " .27", "1.5"), fullFile},
      {"only the first 12 lines", firstTwelve, defaultsWith(firstTwelve)},
      {"templates without a lower-case x",
       replaced(replaced(fullFile, "[0xNNN resolution 18]\r\n/opt", "\r\n/opt"),
                "[0xNNN resolution 21]", "[0XNNN resolution 22]"),
       fullFile},
      {"LF line ends and leading blanks", replaced(fullFile, "/data/gpx\r\n", "   /data/gpx\n"),
       fullFile},
      {"a flag neither True nor False stops the reader", replaced(fullFile, "True", "Maybe"),
       defaultsWith(firstTwelve)},
      {"a first line that is no number", replaced(fullFile, " .27", "version"),
       defaultsWith(noFirstTwelve)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.stored) folder.write("osm_pois.dat", *c.stored);
    app::f1& w = boot().f1;
    const bool alert = c.expected.find("\r\nTrue\r\n") != std::string::npos;
    EXPECT_EQ(w.caption(), "WAYMINT .27 :");
    EXPECT_EQ(w.Text1.text(), alert ? "/data/gpx" : folder.path());
    EXPECT_EQ(program->state.gpxfolder, w.Text1.text());
    EXPECT_EQ(w.Check2.value() + w.Text3(0).enabled() + w.Text3(1).enabled(), alert ? 3 : 0);
    w.requestClose();
    EXPECT_EQ(slurp(stateFile()), c.expected);
  }
  app::f1& w = boot().f1;
  const char* recent[] = {"/maps/a, b.osm", "\"/maps/quoted.osm", "", "", "", "", "",
                          "/maps/last.osm"};
  for (int i = 0; i < 8; ++i) w.mf(9 + i).setCaption(recent[i]);
  app::State& s = program->state;
  s.stylepath = "/opt/pixmold.exe";
  s.spare = "spare text ";
  s.alert = true;
  w.Text1.setText("/data/gpx");
  s.loaderpath = "/opt/poiloader.exe";
  s.lastosm = "/maps/a, b.osm";
  w.requestClose();
  EXPECT_EQ(slurp(stateFile()), fullFile);
}

TEST_F(StateFileTest, AReadOnlyStateFileStaysAsItWas) {
  folder.write("osm_pois.dat", fullFile);
  ASSERT_EQ(::chmod(stateFile().c_str(), 0444), 0);
  app::Program& p = boot();
  p.state.spare = "changed";
  p.f1.requestClose();
  EXPECT_EQ(slurp(stateFile()), fullFile);
  EXPECT_TRUE(p.f1.closed() && machine.processEnded());
}

}  // namespace
}  // namespace waymint::testing
