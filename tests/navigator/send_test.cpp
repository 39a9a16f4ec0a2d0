// "Send to navigator" on the headless program: GPI files made beside each category's GPX and
// written onto a fake navigator (a folder holding Garmin/GarminDevice.xml), with the report
// the user reads; navigators found, several, none, full, read-only or removed while sending;
// icons navigators cannot show; GPX files other programs edited; the window's button.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "gpi/gpi_test_files.h"
#include "gpi/icon.h"
#include "platform/files.h"
#include "osm/text_search.h"
#include "support/case_table.h"
#include "support/program_fixture.h"
#include "support/temp_folder.h"
#include "workflow/send_to_navigator.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;
using platform::Answer;
using workflow::SendRequest;

const std::vector<TestWaypoint> cafes = {
    {"43.7384", "7.4246", "Caf\xC3\xA9 de Paris", "", "50", "Place du Casino", "Monaco", "98000",
     "+377 98 06 76 23"},
    {"43.7310", "7.4200", "Bar & Co", "open late", "", "", "", "", ""},
};
const std::vector<TestWaypoint> bars = {{"43.7400", "7.4300", "Zelo's", "", "", "", "", "", ""}};

class SendToNavigator : public ProgramTest {
 protected:
  std::string device = folder / "NUVI";
  std::string poi = device + "/Garmin/POI";

  SendToNavigator() {
    const std::string data = std::string(WAYMINT_SOURCE_DIR) + "/tests/navigator/data/";
    folder.write("NUVI/Garmin/GarminDevice.xml", slurp(data + "GarminDevice.xml"));
    start();
    addCategory("cafe", cafes);
    addCategory("bar", bars);
  }
  void TearDown() override {
    files::injectFaults(nullptr);
    ProgramTest::TearDown();
  }

  void addCategory(const std::string& name, const std::vector<TestWaypoint>& waypoints) {
    folder.write("gpx/" + name + "/" + name + ".gpx", testing::gpxOf(waypoints));
  }
  // A mount table that shows these navigators mounted.
  void mounted(const std::vector<std::string>& navigators) {
    std::string table = "proc /proc proc rw 0 0\n";
    for (const std::string& n : navigators) table += "/dev/sdb1 " + n + " vfat rw 0 0\n";
    machine.setMountPlaces({folder.write("mounts", table), {}});
  }
  // "Send to navigator" for the categories (none: all) of the GPX folder (or `from`), to the
  // navigator (none: the one connected; `ask` which when there are several).
  workflow::SendOutcome send(const std::string& navigator, std::vector<std::string> categories = {},
                             bool ask = false, const std::string& from = "") {
    const SendRequest request{from.empty() ? gpxFolder() : from, std::move(categories), navigator,
                              ask};
    return workflow::sendToNavigator(*program, request);
  }
  // The one report shown, its room left (which the test cannot know) cut off.
  std::string report() {
    const std::vector<std::string> shown = takeMessages();
    EXPECT_EQ(shown.size(), 1u);
    return shown.empty() ? "" : withoutRoom(shown.back());
  }
  static std::string withoutRoom(std::string text) {
    const size_t room = text.rfind("\r\n");
    if (room != std::string::npos && text.ends_with(" left on the navigator.")) {
      text.replace(room, std::string::npos, "\r\n<room> left on the navigator.");
    }
    return text;
  }
  std::string navigatorName() const { return "the navigator n\xC3\xBCvi 2595 (" + device + ")"; }
  // A message of data/reports.tsv, with this test's navigator and folders in their places.
  std::string expected(const std::string& name) const {
    for (const auto& row : caseTable("navigator/data/reports.tsv", 2)) {
      if (row[0] != name) continue;
      std::string text = osm::replaceAll(row[1], "$NAVIGATOR", navigatorName());
      text = osm::replaceAll(osm::replaceAll(text, "$POI", poi), "$DEVICE", device);
      return osm::replaceAll(osm::replaceAll(text, "$GPX", gpxFolder()), "$FOLDER", folder.path());
    }
    ADD_FAILURE() << "no message " << name << " in reports.tsv";
    return "";
  }
};

TEST_F(SendToNavigator, EveryCategoryBesideItsGpxAndOnTheNavigatorWithModelAndRoom) {
  const workflow::SendOutcome outcome = send(device);
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(report(), expected("every category"));
  ASSERT_EQ(outcome.sent.size(), 2u);
  EXPECT_EQ(outcome.sent[1].category, "cafe");
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"bar.gpi", "cafe.gpi"}));
  for (const std::string name : {"bar", "cafe"}) {
    const std::string beside = slurp(gpxFolder() + "/" + name + "/" + name + ".gpi");
    EXPECT_EQ(beside.substr(8, 8), "GRMREC00");
    EXPECT_EQ(slurp(poi + "/" + name + ".gpi"), beside);
  }
  // Each file of its own time: navigators mix up the POIs of files of one time.
  EXPECT_NE(slurp(poi + "/bar.gpi").substr(16, 4), slurp(poi + "/cafe.gpi").substr(16, 4));
}

TEST_F(SendToNavigator, TheChosenCategoriesOnlyAndOneThatIsNotThereNamed) {
  const workflow::SendOutcome outcome = send(device, {"cafe", "pub"});
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(report(), expected("chosen categories"));
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"cafe.gpi"}));
  // Nothing to send: said, and no navigator is looked for.
  EXPECT_FALSE(send(folder / "none", {"pub"}).complete);
  EXPECT_EQ(report(), expected("nothing to send"));
  std::filesystem::remove_all(gpxFolder());
  files::makeFolder(gpxFolder());
  send(device);
  EXPECT_EQ(report(), expected("no category folder"));
  send(device, {}, false, folder / "nowhere");
  EXPECT_EQ(report(), expected("no folder"));
}

TEST_F(SendToNavigator, TheOneConnectedNoneOrSeveralNamedOrAskedFor) {
  mounted({device});
  EXPECT_TRUE(send("").complete);
  EXPECT_TRUE(report().starts_with("Sent to " + navigatorName() + ":"));

  mounted({});
  EXPECT_FALSE(send("").complete);
  EXPECT_EQ(report(), expected("no navigator"));

  const std::string second = folder / "ETREX";
  folder.write("ETREX/Garmin/GarminDevice.xml", "<Device/>");
  files::removeFile(poi + "/bar.gpi");
  mounted({device, second});
  EXPECT_FALSE(send("").complete);
  EXPECT_EQ(report(), expected("several navigators"));
  EXPECT_FALSE(files::exists(second + "/Garmin/POI"));
  EXPECT_FALSE(files::exists(poi + "/bar.gpi"));

  // The window asks, one after the other.
  machine.answerNext(Answer::No);
  machine.answerNext(Answer::Yes);
  EXPECT_TRUE(send("", {}, true).complete);
  std::vector<std::string> shown = takeMessages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], expected("ask for the first"));
  EXPECT_EQ(shown[1], expected("ask for the second"));
  EXPECT_TRUE(shown[2].starts_with(expected("sent to the second (how it begins)"))) << shown[2];
  EXPECT_FALSE(files::exists(poi + "/bar.gpi"));

  machine.answerNext(Answer::No);
  machine.answerNext(Answer::No);
  EXPECT_FALSE(send("", {}, true).complete);
  shown = takeMessages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2], expected("none chosen"));
}

TEST_F(SendToNavigator, ANavigatorRemovedBetweenFilesEndsTheSendingAndSaysSo) {
  addCategory("pub", bars);
  int yields = 0;
  machine.duringYield([&] {
    if (++yields == 1) std::filesystem::remove_all(device);
  });
  const workflow::SendOutcome outcome = send(device);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.sent.size(), 1u);
  EXPECT_EQ(report(), expected("removed"));
  EXPECT_FALSE(files::exists(device));
}

TEST_F(SendToNavigator, AFullNavigatorKeepsItsOldFileAndGetsNoPartOfTheNewOne) {
  folder.write("NUVI/Garmin/POI/cafe.gpi", "the old file");
  int opened = 0;
  files::injectFaults([&](files::Step step) {
    if (step == files::Step::Open) ++opened;
    // The GPI beside the GPX, then on the navigator, for each category: the 4th is cafe's.
    return step == files::Step::Write && opened == 4 ? ENOSPC : 0;
  });
  EXPECT_FALSE(send(device).complete);
  EXPECT_EQ(report(), expected("full"));
  EXPECT_EQ(slurp(poi + "/cafe.gpi"), "the old file");
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"bar.gpi", "cafe.gpi"}));
}

TEST_F(SendToNavigator, AReadOnlyNavigatorGetsNothing) {
  machine.setUnwritable(device + "/Garmin", "Read-only file system");
  EXPECT_FALSE(send(device).complete);
  EXPECT_EQ(report(), expected("read-only"));
  EXPECT_FALSE(files::exists(poi));
}

TEST_F(SendToNavigator, ADeviceFileThatIsNotXmlLeavesTheModelUnknown) {
  folder.write("NUVI/Garmin/GarminDevice.xml", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
  EXPECT_TRUE(send(device, {"bar"}).complete);
  EXPECT_EQ(report(), expected("device file not XML"));
}

TEST_F(SendToNavigator, IconsNavigatorsCannotShowAreNamedWithReasonAndFix) {
  std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x30\x08\x06\0\0\0", 29);
  const std::pair<std::string, std::string> cases[] = {
      {png, "png icon"},
      {bmpFile(BmpPicture{48, 48, 8, {}, {}}), "48x48 icon"},
  };
  const std::string defaultPixels = gpi::defaultBitmap().pixels;
  for (const auto& [bytes, reason] : cases) {
    SCOPED_TRACE(reason);
    folder.write("gpx/bar/bar.bmp", bytes);
    EXPECT_TRUE(send(device, {"bar"}).complete);
    const std::string text = report();
    EXPECT_NE(text.find("\r\n" + expected(reason)), std::string::npos) << text;
    EXPECT_NE(text.find(" The GPI file shows the default icon.\r\n"), std::string::npos) << text;
    EXPECT_NE(slurp(poi + "/bar.gpi").find(defaultPixels), std::string::npos);
  }
  // An icon navigators show goes into the file, with no word about it.
  folder.write("gpx/bar/bar.bmp", bmpFile(BmpPicture{2, 2, 8, {1, 0, 0, 1}, {0xFF00FF, 0x123456}}));
  send(device, {"bar"});
  EXPECT_EQ(report(), expected("bar only"));
  EXPECT_EQ(slurp(poi + "/bar.gpi").find(defaultPixels), std::string::npos);
  EXPECT_NE(slurp(poi + "/bar.gpi").find(std::string("\x12\x34\x56\0", 4)), std::string::npos);
}

TEST_F(SendToNavigator, AGpxAnotherProgramEditedIsSentWithWhatWasCutCounted) {
  std::string gpx =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"other\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
  gpx += "<wpt lat=\"43.7\" lon=\"7.4\"><sym>Restaurant</sym></wpt>\n";  // no name
  gpx += "<wpt lat=\"43.7\" lon=\"7.4\"><name>" + std::string(1000, 'n') + "</name></wpt>\n";
  gpx += "<wpt lat=\"43.7\" lon=\"7.4\"><name>long</name><cmt>" + std::string(70000, 'c') +
         "</cmt></wpt>\n";
  gpx += "<wpt lat=\"95\" lon=\"7.4\"><name>off the map</name></wpt>\n";
  for (int i = 0; i < 10000; ++i) {
    gpx += "<wpt lat=\"43." + std::to_string(i) + "\" lon=\"7.4\"><name>p" + std::to_string(i) +
           "</name><sym>Flag, Blue</sym></wpt>\n";
  }
  folder.write("gpx/edited/edited.gpx", gpx + "</gpx>\n");
  EXPECT_TRUE(send(device, {"edited"}).complete);
  EXPECT_EQ(report(), expected("edited"));
  const std::string sent = slurp(poi + "/edited.gpi");
  EXPECT_NE(sent.find(std::string(1000, 'n')), std::string::npos);
  EXPECT_NE(sent.find(std::string(65535, 'c')), std::string::npos);
  EXPECT_EQ(sent.find(std::string(65536, 'c')), std::string::npos);
}

TEST_F(SendToNavigator, TheWindowsButtonSendsEveryCategoryAndOffersTheDefaultIcon) {
  mounted({device});
  const std::string broken = bmpFile(BmpPicture{30, 30, 8, {}, {}});
  const std::string icon = folder.write("gpx/cafe/cafe.bmp", broken);
  machine.answerNext(Answer::No);
  workflow::Command6_Click(*program);
  std::vector<std::string> shown = takeMessages();
  ASSERT_EQ(shown.size(), 2u);
  const std::string problem = expected("icon too large");
  EXPECT_EQ(shown[0], expected("replace the icon"));
  EXPECT_EQ(machine.messages()[0].preset, Answer::No);
  EXPECT_NE(shown[1].find(problem + " The GPI file shows the default icon."), std::string::npos);
  EXPECT_EQ(slurp(icon), broken);
  EXPECT_FALSE(machine.busyPointer());

  machine.answerNext(Answer::Yes);
  workflow::Command6_Click(*program);
  shown = takeMessages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(withoutRoom(shown[1]), expected("every category"));
  EXPECT_EQ(slurp(icon), std::string(gpi::defaultIconBmp()));

  // Without a navigator the window says how to go on.
  mounted({});
  workflow::Command6_Click(*program);
  EXPECT_EQ(takeMessages(), std::vector<std::string>{expected("no navigator for the window")});
}

}  // namespace
}  // namespace waymint::testing
