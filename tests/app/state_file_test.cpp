#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "app/state_file.h"
#include "app/state_location.h"
#include "platform/files.h"

#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

// The state file of a user who set everything: a comma and a leading quote in recent
// entries, a trailing blank in the spare text.
const std::string fullFile =
    slurp(std::string(WAYMINT_SOURCE_DIR) + "/tests/app/data/full_state.dat");

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
    EXPECT_FALSE(w.Frame1.visible());  // no notice about a GPX before a category is chosen
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

// The choices live in lines after the 22 values, which an older program never reads; lines a
// later program wrote are kept, in their order, and written back.
TEST_F(StateFileTest, ChoicesAndLaterLinesFollowTheTwentyTwo) {
  folder.write("osm_pois.dat", fullFile + "exact=1\r\nfuture=x=y\nareas=1\r\n\r\nplain line\r\n");
  app::Program& p = boot();
  EXPECT_EQ(p.state.choices, (app::Choices{.areas = true, .exact = true, .details = false}));
  EXPECT_EQ(p.f1.Check3.value() * 100 + p.f1.Check4.value() * 10 + p.f1.Check5.value(), 110);
  EXPECT_EQ(p.state.gpxfolder, "/data/gpx");  // the 22 lines read as before
  p.state.choices.areas = false;
  p.state.choices.details = true;
  p.f1.requestClose();
  EXPECT_EQ(slurp(stateFile()), fullFile + "exact=1\r\nfuture=x=y\r\nplain line\r\ndetails=1\r\n");
  // Lines after a file that stops early are not read: the values read are all there is.
  folder.write("osm_pois.dat", fullFile.substr(0, fullFile.find("True")) + "Maybe\r\nareas=1\r\n");
  EXPECT_FALSE(boot().state.choices.areas);
}

// The Sound box, WAV or MP3 and the proximity are kept as the choices are: a line each, only
// when it differs from what the window starts with; the 22 lines stay as they were.
TEST_F(StateFileTest, SoundAndProximityAreKeptAfterTheTwentyTwo) {
  folder.write("osm_pois.dat", fullFile + "future=x\r\n");
  app::Program& first = boot();
  EXPECT_EQ(first.f1.Check1.value() + first.f1.Opt(0).value() + first.f1.Opt(0).enabled(), 0);
  EXPECT_EQ(first.f1.Text3(1).text(), "25");
  first.f1.Check1.setValue(1);
  first.f1.Opt(0).setValue(true);
  first.f1.Opt(1).setValue(false);
  first.f1.Text3(1).setText(" 12.6");
  first.f1.requestClose();
  const std::string kept = fullFile + "future=x\r\nsound=1\r\nsoundformat=wav\r\nproximity=13\r\n";
  EXPECT_EQ(slurp(stateFile()), kept);

  app::Program& second = boot();
  EXPECT_EQ(second.f1.Check1.value(), 1);
  EXPECT_TRUE(second.f1.Opt(0).value() && !second.f1.Opt(1).value());
  EXPECT_TRUE(second.f1.Opt(0).enabled() && second.f1.Opt(1).enabled());
  EXPECT_EQ(second.f1.Text3(1).text(), "13");
  EXPECT_EQ(second.state.gpxfolder, "/data/gpx");
  // A box that holds no distance keeps the one kept before.
  second.f1.Text3(1).setText("abc");
  second.f1.requestClose();
  EXPECT_EQ(slurp(stateFile()), kept);

  // Back to the window's first values: the lines go, and the 22 lines are as before.
  app::Program& third = boot();
  third.f1.Check1.setValue(0);
  third.f1.Opt(0).setValue(false);
  third.f1.Opt(1).setValue(true);
  third.f1.Text3(1).setText("25");
  third.f1.requestClose();
  EXPECT_EQ(slurp(stateFile()), fullFile + "future=x\r\n");

  // Values a hand or a later program wrote that this one cannot use are not taken.
  folder.write("osm_pois.dat", fullFile + "sound=yes\r\nsoundformat=ogg\r\nproximity=99999\r\n");
  app::Program& fourth = boot();
  EXPECT_EQ(fourth.f1.Check1.value(), 0);
  EXPECT_TRUE(fourth.f1.Opt(1).value() && !fourth.f1.Opt(0).value());
  EXPECT_EQ(fourth.f1.Text3(1).text(), "25");
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

// Where the state file is kept: beside a program whose folder it may write, else (and always
// for an installed program) in the configuration folder, made when first written.
class StateLocationTest : public StateFileTest {
 protected:
  StateLocationTest() { machine.setHomeFolder(folder / "home"); }
  // Starts a program in `programFolder`, sets the GPX folder, closes it; where the file went.
  std::string closeWithGpxFolder(const std::string& programFolder, const std::string& gpx) {
    machine.setExecutableFolder(programFolder);
    boot().f1.Text1.setText(gpx);
    program->f1.requestClose();
    return program->state.statelocation.folder;
  }
  static int modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
  }
};

TEST_F(StateLocationTest, AProgramThatMayNotWriteItsFolderKeepsItInTheConfigurationFolder) {
  const std::string config = folder / "home/.config/waymint";
  platform::files::makeFolder(folder / "prog");
  folder.write("file", "");
  folder.write("usr/share/applications/example.veltrana.waymint.desktop", "");
  folder.write("opt/share/applications/other.desktop", "");
  platform::files::makeFolder(folder / "usr/bin");
  platform::files::makeFolder(folder / "opt/bin");
  machine.setUnwritable(folder / "denied", "Permission denied");
  struct Case { std::string programFolder, kept; };
  const std::vector<Case> cases = {
      {folder / "prog", folder / "prog"},
      {folder / "denied", config},
      {folder / "file/prog", config},  // a path through a file: root cannot write it either
      {folder / "usr/bin", config},    // installed: its desktop entry is beside bin/
      {folder / "usr/bin/", config},
      {folder / "opt/bin", folder / "opt/bin"},  // another program's entry
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.programFolder);
    EXPECT_EQ(closeWithGpxFolder(c.programFolder, c.programFolder + "/gpx"), c.kept);
    EXPECT_NE(slurp(c.kept + "/osm_pois.dat").find("\r\n" + c.programFolder + "/gpx\r\n"),
              std::string::npos);
    // A restart reads it there.
    EXPECT_EQ(boot().f1.Text1.text(), c.programFolder + "/gpx");
  }
  EXPECT_EQ(modeOf(folder / "home/.config"), 0700);
  EXPECT_EQ(modeOf(config), 0700);
  EXPECT_EQ(slurp(folder / "usr/bin/osm_pois.dat"), "<missing>");
}

TEST_F(StateLocationTest, TheConfigurationFolderFollowsXdgConfigHomeWhenItIsAnAbsolutePath) {
  struct Case { std::optional<std::string> configHome; std::string kept; };
  const std::vector<Case> cases = {
      {std::nullopt, "/.config/waymint"},
      {"", "/.config/waymint"},
      {"relative/config", "/.config/waymint"},
      {folder / "xdg/config/", "/xdg/config/waymint"},  // made with the folders above it
  };
  machine.setUnwritable(folder / "prog", "Read-only file system");
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].configHome.value_or("<unset>"));
    const std::string home = folder / ("home" + std::to_string(i));
    machine.setHomeFolder(home);
    machine.setEnvironmentVariable("XDG_CONFIG_HOME", cases[i].configHome);
    const std::string kept = cases[i].configHome.value_or("").starts_with('/')
                                 ? folder.path() + cases[i].kept
                                 : home + cases[i].kept;
    EXPECT_EQ(app::configFolder(machine), kept);
    machine.setExecutableFolder(folder / "prog");
    EXPECT_EQ(boot().f1.Text1.text(), home);  // the GPX folder starts at home
    EXPECT_EQ(closeWithGpxFolder(folder / "prog", "/gpx" + std::to_string(i)), kept);
    EXPECT_EQ(slurp(kept + "/osm_pois.dat").substr(0, 6), " .27\r\n");
  }
}

// A state file left beside a program that can no longer write its folder is where its
// settings start from; what changes is kept in the configuration folder from then on.
TEST_F(StateLocationTest, AStateFileBesideAReadOnlyProgramIsTheStartingPoint) {
  const std::string beside = folder.write("prog/osm_pois.dat", fullFile);
  const std::string config = folder / "home/.config/waymint/osm_pois.dat";
  machine.setUnwritable(folder / "prog", "Permission denied");
  machine.setExecutableFolder(folder / "prog");
  EXPECT_EQ(boot().f1.Text1.text(), "/data/gpx");
  program->state.spare = "changed";
  program->f1.requestClose();
  EXPECT_EQ(slurp(beside), fullFile);
  const std::string changed = slurp(config);
  EXPECT_NE(changed.find("\r\nchanged\r\n"), std::string::npos);
  boot().f1.requestClose();  // read from the configuration folder now
  EXPECT_EQ(slurp(config), changed);
}

// When the configuration folder cannot be written either, the program says so once, naming
// the folder, and goes on; the close ends it as ever.
TEST_F(StateLocationTest, AConfigurationFolderThatCannotBeWrittenIsReportedOnce) {
  folder.write("file", "");
  const std::string denied = folder / "home/.config/waymint";
  platform::files::makePrivateFolders(denied);
  machine.setUnwritable(denied, "Permission denied");
  machine.setUnwritable(folder / "prog", "Permission denied");
  machine.setExecutableFolder(folder / "prog");
  struct Case { std::optional<std::string> configHome; std::string message; };
  const std::vector<Case> cases = {
      {folder / "file/config",
       "Your choices cannot be kept: " + folder / "file/config/waymint" +
           " cannot be written (Not a directory)."},
      {std::nullopt, "Your choices cannot be kept: " + denied +
                         " cannot be written (Permission denied)."},
  };
  for (const Case& c : cases) {
    machine.setEnvironmentVariable("XDG_CONFIG_HOME", c.configHome);
    app::Program& p = boot();
    EXPECT_EQ(p.f1.caption(), "WAYMINT .27 :");
    app::savedata(p);  // as the Settings window's closing does
    p.f1.requestClose();
    EXPECT_EQ(takeMessages(), std::vector<std::string>{c.message});
    EXPECT_TRUE(p.f1.closed() && machine.processEnded());
    EXPECT_EQ(slurp(denied + "/osm_pois.dat"), "<missing>");
  }
}

}  // namespace
}  // namespace waymint::testing
