#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/state_file.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

std::string lines(std::initializer_list<const char*> values) {
  std::string text;
  for (const char* value : values) text += std::string(value) + "\r\n";
  return text;
}

const std::string fullStateFile = lines({
    " .27", "/maps/a, b.osm", "\"/maps/quoted.osm", "", "", "", "", "", "/maps/last.osm",
    "[0xNNN resolution 18]", "/opt/pixmold/pixmold.exe", "spare text ", "True", "/data/gpx",
    "/opt/garmin/poiloader.exe", "/maps/a, b.osm", "[0xNNN resolution 18]",
    "[0xNNN resolution 21]", "0", "0", "0", "0"});

using StateFileTest = ProgramTest;

TEST_F(StateFileTest, FirstStartWithoutStateFile) {
  app::Program& p = start();
  EXPECT_EQ(p.f1.caption(), "WAYMINT .27 :");
  EXPECT_EQ(p.state.apppath, folder.path());
  EXPECT_EQ(p.f1.Text1.text(), folder.path());
  EXPECT_EQ(p.state.gpxfolder, folder.path());
  EXPECT_EQ(p.f1.Check2.value(), 0);
  EXPECT_FALSE(p.f1.Text3(0).enabled());
  EXPECT_FALSE(p.f1.Text3(1).enabled());
  for (int index = 9; index <= 16; ++index) {
    EXPECT_EQ(p.f1.mf(index).caption(), "");
    EXPECT_TRUE(p.f1.mf(index).enabled());
  }
  EXPECT_EQ(p.state.quote, "\"");
  EXPECT_EQ(p.state.crlf, "\r\n");
  EXPECT_EQ(p.state.restemplates[0], "[0xNNN resolution 18]");
  EXPECT_EQ(p.state.restemplates[2], "[0xNNN resolution 21]");
  EXPECT_FALSE(p.state.lastosm.has_value());
  EXPECT_EQ(*p.f1.Shape6.backColor(), (platform::Rgb{240, 240, 245}));
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(slurp(stateFile()), "<missing>");
}

TEST_F(StateFileTest, CloseWritesTwentyTwoLinesThatRestoreEverything) {
  folder.write("osm_pois.dat", fullStateFile);
  app::Program& first = start();
  EXPECT_TRUE(first.state.alert);
  EXPECT_EQ(first.f1.Check2.value(), 1);
  EXPECT_TRUE(first.f1.Text3(0).enabled());
  EXPECT_TRUE(first.f1.Text3(1).enabled());
  EXPECT_EQ(first.f1.mf(9).caption(), "/maps/a, b.osm");
  EXPECT_EQ(first.f1.mf(10).caption(), "\"/maps/quoted.osm");
  EXPECT_EQ(first.f1.mf(16).caption(), "/maps/last.osm");
  EXPECT_EQ(first.state.spare, "spare text ");
  EXPECT_EQ(first.state.lastosm.value_or("?"), "/maps/a, b.osm");
  EXPECT_EQ(first.f1.Text1.text(), "/data/gpx");

  std::remove(stateFile().c_str());
  first.f1.Form_QueryUnload();
  EXPECT_EQ(slurp(stateFile()), fullStateFile);
  first.f1.Form_Unload();
  EXPECT_TRUE(machine.processEnded());
  EXPECT_TRUE(machine.messages().empty());

  app::Program& second = start();
  EXPECT_EQ(second.state.stylepath, "/opt/pixmold/pixmold.exe");
  EXPECT_EQ(second.state.loaderpath, "/opt/garmin/poiloader.exe");
  second.f1.Form_QueryUnload();
  EXPECT_EQ(slurp(stateFile()), fullStateFile);
}

TEST_F(StateFileTest, FirstStartThenCloseWritesDefaults) {
  start().f1.Form_QueryUnload();
  std::string expected = lines({" .27", "", "", "", "", "", "", "", "", "[0xNNN resolution 18]",
                                "", "", "False", folder.path().c_str(), "", "",
                                "[0xNNN resolution 18]", "[0xNNN resolution 21]", "0", "0", "0",
                                "0"});
  EXPECT_EQ(slurp(stateFile()), expected);
}

TEST_F(StateFileTest, OtherVersionOnLineOneStillStartsAsPoint27) {
  std::string text = fullStateFile;
  text.replace(0, 4, "1.5");
  folder.write("osm_pois.dat", text);
  app::Program& p = start();
  EXPECT_FLOAT_EQ(p.state.version, 0.27f);
  EXPECT_EQ(p.f1.caption(), "WAYMINT .27 :");
  EXPECT_EQ(p.state.stylepath, "/opt/pixmold/pixmold.exe");
}

TEST_F(StateFileTest, ShortFileRestoresWhatItHolds) {
  std::string twelve = fullStateFile.substr(0, fullStateFile.find("True\r\n"));
  folder.write("osm_pois.dat", twelve);
  app::Program& p = start();
  EXPECT_EQ(p.f1.mf(9).caption(), "/maps/a, b.osm");
  EXPECT_EQ(p.state.stylepath, "/opt/pixmold/pixmold.exe");
  EXPECT_EQ(p.state.spare, "spare text ");
  EXPECT_FALSE(p.state.alert);
  EXPECT_EQ(p.state.gpxfolder, folder.path());
  EXPECT_EQ(p.f1.Check2.value(), 0);
}

TEST_F(StateFileTest, UnreadableLinesStopTheReader) {
  // A flag that is neither True nor False ends the reading there.
  std::string text = fullStateFile;
  text.replace(text.find("True"), 4, "Maybe");
  folder.write("osm_pois.dat", text);
  app::Program& p = start();
  EXPECT_EQ(p.state.spare, "spare text ");
  EXPECT_FALSE(p.state.alert);
  EXPECT_EQ(p.state.gpxfolder, folder.path());
  EXPECT_TRUE(p.state.loaderpath.empty());

  // A first line that is no number restores nothing.
  folder.write("osm_pois.dat", "version\r\n" + fullStateFile.substr(6));
  app::Program& q = start();
  EXPECT_EQ(q.f1.mf(9).caption(), "");
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(StateFileTest, TemplateWithoutLowerCaseXFallsBackToItsDefault) {
  std::string text = fullStateFile;
  text.replace(text.find("[0xNNN resolution 18]"), 21, "");
  text.replace(text.rfind("[0xNNN resolution 21]"), 21, "[0XNNN resolution 22]");
  folder.write("osm_pois.dat", text);
  app::Program& p = start();
  EXPECT_EQ(p.state.restemplates[0], "[0xNNN resolution 18]");
  EXPECT_EQ(p.state.restemplates[1], "[0xNNN resolution 18]");
  EXPECT_EQ(p.state.restemplates[2], "[0xNNN resolution 21]");
  p.f1.Form_QueryUnload();
  EXPECT_EQ(slurp(stateFile()), fullStateFile);
}

TEST_F(StateFileTest, LeadingBlanksAreSkippedAndLfLinesRead) {
  std::string text = fullStateFile;
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  text.replace(text.find("/data/gpx"), 9, "   /data/gpx");
  folder.write("osm_pois.dat", text);
  app::Program& p = start();
  EXPECT_EQ(p.state.gpxfolder, "/data/gpx");
  EXPECT_EQ(p.state.restemplates[2], "[0xNNN resolution 21]");
}

TEST_F(StateFileTest, UnwritableStateFileIsLeftAsItWas) {
  folder.write("osm_pois.dat", fullStateFile);
  ::chmod(stateFile().c_str(), 0444);
  app::Program& p = start();
  p.state.spare = "changed";
  p.f1.Form_QueryUnload();
  p.f1.Form_Unload();
  EXPECT_EQ(slurp(stateFile()), fullStateFile);
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_TRUE(machine.processEnded());

  // An executable folder that is gone: nothing is written anywhere, nothing is said.
  machine.setExecutableFolder(folder / "gone");
  start().f1.Form_QueryUnload();
  EXPECT_EQ(slurp(folder / "gone/osm_pois.dat"), "<missing>");
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(StateFileTest, TextBoxChangesCopyIntoGpxFolder) {
  app::Program& p = start();
  p.f1.Text1.setText("/somewhere/else");
  EXPECT_EQ(p.state.gpxfolder, "/somewhere/else");
  p.f1.Text1.setText("");
  EXPECT_EQ(p.state.gpxfolder, "");
}

}  // namespace
}  // namespace waymint::testing

namespace waymint::testing {
namespace {

using CloseTest = ProgramTest;

TEST_F(CloseTest, CloseRequestWaitsForTheOperationInProgress) {
  app::Program& p = start();
  {
    app::f1::Operation running(p.f1);
    p.f1.requestClose();
    EXPECT_TRUE(p.f1.closePending());
    EXPECT_FALSE(p.f1.closed());
    EXPECT_EQ(slurp(stateFile()), "<missing>");
    EXPECT_FALSE(machine.processEnded());
    {
      app::f1::Operation nested(p.f1);
    }
    EXPECT_FALSE(p.f1.closed());
  }
  EXPECT_TRUE(p.f1.closed());
  EXPECT_NE(slurp(stateFile()), "<missing>");
  EXPECT_TRUE(machine.processEnded());
}

}  // namespace
}  // namespace waymint::testing
