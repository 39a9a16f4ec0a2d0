#include <gtest/gtest.h>
#include <sys/stat.h>

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

class StateFileTest : public ProgramTest {
 protected:
  // The program as it starts: the load event only, the state file read when there is one.
  app::Program& boot() {
    program = std::make_unique<app::Program>(machine);
    program->f1.Form_Load();
    return *program;
  }
  // What a close request writes after a start with `stored` as the state file.
  std::string savedAfterStartWith(const std::string& stored) {
    folder.write("osm_pois.dat", stored);
    boot().f1.requestClose();
    return slurp(stateFile());
  }
  // The file a start without any stored value writes back.
  std::string defaultsWith(const std::string& firstTwelve) {
    return firstTwelve + "False\r\n" + folder.path() +
           "\r\n\r\n\r\n[0xNNN resolution 18]\r\n[0xNNN resolution 21]\r\n0\r\n0\r\n0\r\n0\r\n";
  }
};

TEST_F(StateFileTest, FirstStartWithoutStateFile) {
  app::f1& w = boot().f1;
  EXPECT_EQ(w.caption(), "WAYMINT .27 :");
  EXPECT_EQ(w.Text1.text(), folder.path());
  EXPECT_EQ(program->state.gpxfolder, folder.path());
  EXPECT_EQ(w.Check2.value(), 0);
  EXPECT_FALSE(w.Text3(0).enabled());
  EXPECT_FALSE(w.Text3(1).enabled());
  w.requestClose();
  EXPECT_TRUE(machine.processEnded());
  EXPECT_EQ(slurp(stateFile()),
            defaultsWith(" .27\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n[0xNNN resolution 18]\r\n\r\n\r\n"));
}

TEST_F(StateFileTest, CloseWritesTheTwentyTwoLinesThatTheNextStartRestores) {
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
  ASSERT_EQ(slurp(stateFile()), fullFile);

  // The next start shows what it read (every value: see the next test).
  app::f1& next = boot().f1;
  EXPECT_EQ(next.Check2.value(), 1);
  EXPECT_TRUE(next.Text3(0).enabled());
  EXPECT_TRUE(next.Text3(1).enabled());
  EXPECT_EQ(next.Text1.text(), "/data/gpx");
  EXPECT_EQ(next.caption(), "WAYMINT .27 :");
}

TEST_F(StateFileTest, WhatAStartReadsShowsInWhatTheCloseWrites) {
  const std::string firstTwelve = fullFile.substr(0, fullFile.find("True\r\n"));
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  struct Case {
    const char* what;
    std::string stored;
    std::string expected;
  };
  const std::vector<Case> cases = {
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
      {"a first line that is no number",
       replaced(fullFile, " .27", "version"),
       defaultsWith(" .27\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n[0xNNN resolution 18]\r\n\r\n\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(savedAfterStartWith(c.stored), c.expected);
  }
}

TEST_F(StateFileTest, AReadOnlyStateFileStaysAsItWas) {
  folder.write("osm_pois.dat", fullFile);
  ASSERT_EQ(::chmod(stateFile().c_str(), 0444), 0);
  app::Program& p = boot();
  p.state.spare = "changed";
  p.f1.requestClose();
  EXPECT_EQ(slurp(stateFile()), fullFile);
  EXPECT_TRUE(p.f1.closed());
  EXPECT_TRUE(machine.processEnded());
}

}  // namespace
}  // namespace waymint::testing
