#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/settings.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

class SettingsTest : public ProgramTest {
 protected:
  app::Program& p = start();
  dialogs::settings window{p};

  SettingsTest() {
    p.state.loaderpath = "/opt/garmin/POILoader.exe";
    p.state.stylepath = "/opt/pixmold/Pixmold.exe";
    window.Form_Load();
  }

  std::string pickFor(int row, const std::string& name) {
    std::string path = folder.write(name, "MZ");
    machine.chooseNext(path);
    window.Command2_Click(row);
    return path;
  }
};

TEST_F(SettingsTest, ShowsBothPathsInItsRows) {
  EXPECT_EQ(window.name(), "settings");
  EXPECT_EQ(window.caption(), "Settings");
  EXPECT_EQ(window.Label1(0).caption(), "POI  Loader");
  EXPECT_EQ(window.Label1(5).caption(), "Pixmold");
  EXPECT_EQ(window.Text1(0).text(), "/opt/garmin/POILoader.exe");
  EXPECT_EQ(window.Text1(1).text(), "/opt/pixmold/Pixmold.exe");
  for (int row : {0, 1}) {
    EXPECT_EQ(window.Command2(row).caption(), "<<");
    EXPECT_EQ(window.Command2(row).backColor(), (platform::Rgb{255, 255, 128}));
  }
  EXPECT_EQ(window.Command3.caption(), "OK");
  EXPECT_EQ(window.controls().size(), 7u);
}

TEST_F(SettingsTest, OkClosesTheWindow) {
  window.Command3_Click();
  EXPECT_TRUE(window.closed());
}

// --- the POI Loader row ---

TEST_F(SettingsTest, AnyLoaderExeInAnyCaseIsTakenAndShown) {
  std::string path = pickFor(0, "Garmin/PoiLOADER.Exe");
  EXPECT_EQ(p.state.loaderpath, path);
  EXPECT_EQ(window.Text1(0).text(), path);
  path = pickFor(0, "my-downloader.exe");
  EXPECT_EQ(p.state.loaderpath, path);
  EXPECT_TRUE(machine.messages().empty());
  ASSERT_EQ(machine.dialogs().size(), 2u);
  EXPECT_EQ(machine.dialogs()[0].pattern, "*.exe");
  EXPECT_EQ(machine.dialogs()[0].defaultExtension, "*.exe");
}

TEST_F(SettingsTest, AnotherProgramIsRefusedForTheLoader) {
  pickFor(0, "Pixmold.exe");
  pickFor(0, "loader.bin");
  EXPECT_EQ(machine.messageTexts(),
            (Texts{"poiloader.exe not found", "poiloader.exe not found"}));
  EXPECT_EQ(p.state.loaderpath, "/opt/garmin/POILoader.exe");
  EXPECT_EQ(window.Text1(0).text(), "/opt/garmin/POILoader.exe");
}

// --- the Pixmold row ---

TEST_F(SettingsTest, AnyExeIsTakenForPixmold) {
  std::string path = pickFor(1, "tools/STYLER.EXE");
  EXPECT_EQ(p.state.stylepath, path);
  EXPECT_EQ(window.Text1(1).text(), path);
  EXPECT_EQ(p.state.loaderpath, "/opt/garmin/POILoader.exe");
}

TEST_F(SettingsTest, APathWithoutExeIsRefusedForPixmold) {
  pickFor(1, "pixmold");
  EXPECT_EQ(machine.messageTexts(), Texts{".exe not found"});
  EXPECT_EQ(p.state.stylepath, "/opt/pixmold/Pixmold.exe");
}

// --- what changes nothing ---

TEST_F(SettingsTest, CancellingOrAMissingFileChangesNothingAndSaysNothing) {
  window.Command2_Click(0);  // cancelled: the dialog gives back "*.exe"
  window.Command2_Click(1);
  machine.chooseNext(folder / "gone/poiloader.exe");
  window.Command2_Click(0);
  machine.chooseNext(folder.write("*loader.exe", "MZ"));  // a name with a star is a pattern
  window.Command2_Click(0);
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(p.state.loaderpath, "/opt/garmin/POILoader.exe");
  EXPECT_EQ(p.state.stylepath, "/opt/pixmold/Pixmold.exe");
  EXPECT_EQ(window.Text1(0).text(), "/opt/garmin/POILoader.exe");
}

TEST_F(SettingsTest, TypedPathsAreNotTaken) {
  folder.write("typed/poiloader.exe", "MZ");
  window.Text1(0).setText(folder / "typed/poiloader.exe");
  window.Text1(1).setText(folder / "typed/poiloader.exe");
  window.Command3_Click();
  EXPECT_EQ(p.state.loaderpath, "/opt/garmin/POILoader.exe");
  EXPECT_EQ(p.state.stylepath, "/opt/pixmold/Pixmold.exe");
}

TEST_F(SettingsTest, EachOpeningShowsTheCurrentPaths) {
  pickFor(0, "poiloader.exe");
  dialogs::settings again(p);
  again.Form_Load();
  EXPECT_EQ(again.Text1(0).text(), folder / "poiloader.exe");
  EXPECT_EQ(again.Text1(1).text(), "/opt/pixmold/Pixmold.exe");
}

}  // namespace
}  // namespace waymint::testing
