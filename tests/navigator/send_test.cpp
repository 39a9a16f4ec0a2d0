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
#include "support/program_fixture.h"
#include "support/temp_folder.h"
#include "workflow/send_to_navigator.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;
using platform::Answer;
using workflow::SendRequest;

constexpr std::string_view deviceXml =
    "<?xml version=\"1.0\"?><Device><Model><Description>n\xC3\xBCvi 2595</Description></Model>"
    "</Device>";

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
    folder.write("NUVI/Garmin/GarminDevice.xml", deviceXml);
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
    SendRequest request;
    request.gpxFolder = from.empty() ? gpxFolder() : from;
    request.categories = std::move(categories);
    request.navigator = navigator;
    request.askWhichNavigator = ask;
    return workflow::sendToNavigator(*program, request);
  }
  // The one report shown, its room left (which the test cannot know) cut off.
  std::string report() {
    const std::vector<std::string> shown = takeMessages();
    EXPECT_EQ(shown.size(), 1u);
    if (shown.empty()) return "";
    std::string text = shown.back();
    const size_t room = text.rfind("\r\n");
    if (room != std::string::npos && text.ends_with(" left on the navigator.")) {
      text.replace(room, std::string::npos, "\r\n<room> left on the navigator.");
    }
    return text;
  }
  std::string navigatorName() const { return "the navigator n\xC3\xBCvi 2595 (" + device + ")"; }
};

TEST_F(SendToNavigator, EveryCategoryBesideItsGpxAndOnTheNavigatorWithModelAndRoom) {
  const workflow::SendOutcome outcome = send(device);
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(report(), "Sent to " + navigatorName() + ":\r\n" + poi + "/bar.gpi: 1 POI\r\n" + poi +
                          "/cafe.gpi: 2 POIs\r\n<room> left on the navigator.");
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
  EXPECT_EQ(report(), "Sent to " + navigatorName() + ":\r\n" + poi + "/cafe.gpi: 2 POIs\r\n" +
                          gpxFolder() + " holds no pub/pub.gpx: pub was not sent.\r\n"
                          "<room> left on the navigator.");
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"cafe.gpi"}));
  // Nothing to send: said, and no navigator is looked for.
  EXPECT_FALSE(send(folder / "none", {"pub"}).complete);
  EXPECT_EQ(report(), gpxFolder() + " holds no pub/pub.gpx: pub was not sent.");
  std::filesystem::remove_all(gpxFolder());
  files::makeFolder(gpxFolder());
  send(device);
  EXPECT_EQ(report(), gpxFolder() +
                          " holds no category folder with its GPX (<category>/<category>.gpx). "
                          "Nothing was sent.");
  send(device, {}, false, folder / "nowhere");
  EXPECT_EQ(report(), folder / "nowhere" + " is not a folder.");
}

TEST_F(SendToNavigator, TheOneConnectedNoneOrSeveralNamedOrAskedFor) {
  mounted({device});
  EXPECT_TRUE(send("").complete);
  EXPECT_TRUE(report().starts_with("Sent to " + navigatorName() + ":"));

  mounted({});
  EXPECT_FALSE(send("").complete);
  EXPECT_EQ(report(),
            "No navigator found: connect it by USB and let it be mounted (its folder holds "
            "Garmin/GarminDevice.xml), or name its folder with --device DIR. Nothing was sent.");

  const std::string second = folder / "ETREX";
  folder.write("ETREX/Garmin/GarminDevice.xml", "<Device/>");
  files::removeFile(poi + "/bar.gpi");
  mounted({device, second});
  EXPECT_FALSE(send("").complete);
  EXPECT_EQ(report(), "More than one navigator is connected:\r\n" + navigatorName() +
                          "\r\nthe navigator at " + second +
                          "\r\nChoose one with --device DIR. Nothing was sent.");
  EXPECT_FALSE(files::exists(second + "/Garmin/POI"));
  EXPECT_FALSE(files::exists(poi + "/bar.gpi"));

  // The window asks, one after the other.
  machine.answerNext(Answer::No);
  machine.answerNext(Answer::Yes);
  EXPECT_TRUE(send("", {}, true).complete);
  std::vector<std::string> shown = takeMessages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "More than one navigator is connected. Send to " + navigatorName() + "?");
  EXPECT_EQ(shown[1], "More than one navigator is connected. Send to the navigator at " +
                          second + "?");
  EXPECT_TRUE(shown[2].starts_with("Sent to the navigator at " + second + ":\r\n" + second +
                                   "/Garmin/POI/bar.gpi: 1 POI\r\n"));
  EXPECT_FALSE(files::exists(poi + "/bar.gpi"));

  machine.answerNext(Answer::No);
  machine.answerNext(Answer::No);
  EXPECT_FALSE(send("", {}, true).complete);
  shown = takeMessages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2], "No navigator chosen. Nothing was sent.");
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
  EXPECT_EQ(report(), "Sent to " + navigatorName() + ":\r\n" + poi + "/bar.gpi: 1 POI\r\n" +
                          "The navigator " + device +
                          " was removed while sending: connect it again and send once more.\r\n"
                          "1 category was not sent.");
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
  EXPECT_EQ(report(), "Sent to " + navigatorName() + ":\r\n" + poi + "/bar.gpi: 1 POI\r\n" +
                          "The navigator is full: " + poi +
                          "/cafe.gpi does not fit, and nothing of it was left on it. Make room "
                          "(delete files on the navigator) and send once more.\r\n"
                          "<room> left on the navigator.");
  EXPECT_EQ(slurp(poi + "/cafe.gpi"), "the old file");
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"bar.gpi", "cafe.gpi"}));
}

TEST_F(SendToNavigator, AReadOnlyNavigatorGetsNothing) {
  machine.setUnwritable(device + "/Garmin", "Read-only file system");
  EXPECT_FALSE(send(device).complete);
  EXPECT_EQ(report(), "The navigator " + device +
                          " cannot be written (Read-only file system): unlock it or mount it for "
                          "writing, then send once more.\r\nNothing was sent to " +
                          navigatorName() + ".");
  EXPECT_FALSE(files::exists(poi));
}

TEST_F(SendToNavigator, ADeviceFileThatIsNotXmlLeavesTheModelUnknown) {
  folder.write("NUVI/Garmin/GarminDevice.xml", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
  EXPECT_TRUE(send(device, {"bar"}).complete);
  EXPECT_EQ(report(), "Sent to the navigator at " + device + ":\r\n" + poi +
                          "/bar.gpi: 1 POI\r\n" + device +
                          "/Garmin/GarminDevice.xml is not an XML file: the navigator's model is "
                          "not known.\r\n<room> left on the navigator.");
}

std::string bmp(int width, int height, int bits, std::vector<std::uint32_t> palette = {},
                std::uint32_t compression = 0, std::vector<std::uint32_t> pixels = {}) {
  BmpPicture picture;
  picture.width = width;
  picture.height = height;
  picture.bits = bits;
  picture.palette = std::move(palette);
  picture.compression = compression;
  picture.pixels = std::move(pixels);
  return bmpFile(picture);
}

// A 1x1 BMP with another size written in its header (no pixels for it).
std::string claimedSize(std::uint32_t width, std::uint32_t height) {
  std::string bytes = bmp(1, 1, 8, {0}, 0, {0});
  for (int i = 0; i < 4; ++i) {
    bytes[18 + i] = static_cast<char>(width >> (8 * i));
    bytes[22 + i] = static_cast<char>(height >> (8 * i));
  }
  return bytes;
}

TEST_F(SendToNavigator, IconsNavigatorsCannotShowAreNamedWithReasonAndFix) {
  std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x30\x08\x06\0\0\0", 29);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {png, " is not a BMP picture (it is a PNG picture): save it as a BMP with 8 bits per "
            "pixel."},
      {bmp(48, 48, 8),
       " is 48x48 pixels; navigators show icons up to 24x24 (some newer ones 48x48): make it "
       "24x24 or smaller."},
      {claimedSize(5000, 5000), " is 5000x5000 pixels; navigators show icons up to 24x24"},
      {bmp(0, 0, 8),
       " has no pixels (0x0): draw the icon at 24x24 pixels or smaller."},
      {bmp(4, 4, 4, {0, 0xFFFFFF}),
       " has 4 bits per pixel; navigators take 8, 24 or 32: save it with 8 bits per pixel (256 "
       "colours)."},
      {bmp(4, 4, 8, {0}, 1),
       " is a compressed BMP (RLE); navigators take only uncompressed ones: save it without "
       "compression."},
  };
  const std::string icon = gpxFolder() + "/bar/bar.bmp";
  const std::string defaultPixels = gpi::defaultBitmap().pixels;
  for (const auto& [bytes, reason] : cases) {
    SCOPED_TRACE(reason);
    folder.write("gpx/bar/bar.bmp", bytes);
    EXPECT_TRUE(send(device, {"bar"}).complete);
    const std::string text = report();
    EXPECT_NE(text.find("\r\n" + icon + reason), std::string::npos) << text;
    EXPECT_NE(text.find(" The GPI file shows the default icon.\r\n"), std::string::npos) << text;
    EXPECT_NE(slurp(poi + "/bar.gpi").find(defaultPixels), std::string::npos);
  }
  // An icon navigators show goes into the file, with no word about it.
  folder.write("gpx/bar/bar.bmp",
               bmp(2, 2, 8, {0xFF00FF, 0x123456}, 0, {1, 0, 0, 1}));
  send(device, {"bar"});
  EXPECT_EQ(report(), "Sent to " + navigatorName() + ":\r\n" + poi +
                          "/bar.gpi: 1 POI\r\n<room> left on the navigator.");
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
  const std::string beside = gpxFolder() + "/edited/edited.gpi";
  EXPECT_EQ(report(), "Sent to " + navigatorName() + ":\r\n" + poi +
                          "/edited.gpi: 10003 POIs\r\n" + beside +
                          ": 1 waypoint without a valid position left out.\r\n" + beside +
                          ": the texts of 1 waypoint cut to 65535 bytes, the most a GPI file "
                          "holds.\r\n<room> left on the navigator.");
  const std::string sent = slurp(poi + "/edited.gpi");
  EXPECT_NE(sent.find(std::string(1000, 'n')), std::string::npos);
  EXPECT_NE(sent.find(std::string(65535, 'c')), std::string::npos);
  EXPECT_EQ(sent.find(std::string(65536, 'c')), std::string::npos);
}

TEST_F(SendToNavigator, TheWindowsButtonSendsEveryCategoryAndOffersTheDefaultIcon) {
  mounted({device});
  const std::string broken = bmp(30, 30, 8);
  const std::string icon = folder.write("gpx/cafe/cafe.bmp", broken);
  machine.answerNext(Answer::No);
  workflow::Command6_Click(*program);
  std::vector<std::string> shown = takeMessages();
  ASSERT_EQ(shown.size(), 2u);
  const std::string problem = icon +
                              " is 30x30 pixels; navigators show icons up to 24x24 (some newer "
                              "ones 48x48): make it 24x24 or smaller.";
  EXPECT_EQ(shown[0], problem + "\r\n\r\nReplace " + icon +
                          " by the program's default icon (24x24, 8 bits, magenta transparent)?");
  EXPECT_EQ(machine.messages()[0].preset, Answer::No);
  EXPECT_NE(shown[1].find(problem + " The GPI file shows the default icon."), std::string::npos);
  EXPECT_EQ(slurp(icon), broken);
  EXPECT_FALSE(machine.busyPointer());

  machine.answerNext(Answer::Yes);
  workflow::Command6_Click(*program);
  shown = takeMessages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], "Sent to " + navigatorName() + ":\r\n" + poi + "/bar.gpi: 1 POI\r\n" + poi +
                          "/cafe.gpi: 2 POIs\r\n" + shown[1].substr(shown[1].rfind("\r\n") + 2));
  EXPECT_EQ(slurp(icon), std::string(gpi::defaultIconBmp()));

  // Without a navigator the window says how to go on.
  mounted({});
  workflow::Command6_Click(*program);
  EXPECT_EQ(takeMessages(),
            std::vector<std::string>{
                "No navigator found: connect it by USB and let it be mounted (its folder holds "
                "Garmin/GarminDevice.xml), then press Send to navigator again. Nothing was sent."});
}

}  // namespace
}  // namespace waymint::testing
