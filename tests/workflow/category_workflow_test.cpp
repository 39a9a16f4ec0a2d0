#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/program_fixture.h"
#include "workflow/showgpx.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;

const char* const harbourOsm =
    "<osm>\n"
    " <node id=\"1\" lat=\"54.1\" lon=\"9.9\">\n  <tag k=\"amenity\" v=\"cafe\"/>\n"
    "  <tag k=\"name\" v=\"Mint Leaf\"/>\n </node>\n"
    " <node id=\"2\" lat=\"54.2\" lon=\"9.8\">\n  <tag k=\"amenity\" v=\"cafe\"/>\n"
    "  <tag k=\"name\" v=\"Bean &amp; Leaf\"/>\n </node>\n"
    " <node id=\"3\" lat=\"54.3\" lon=\"9.7\">\n  <tag k=\"shop\" v=\"bakery\"/>\n"
    "  <tag k=\"name\" v=\"Daily Loaf\"/>\n </node>\n"
    "</osm>\n";

class CategoryWorkflowTest : public ProgramTest {
 protected:
  app::f1& w() { return program->f1; }
  void startWithOsm() {
    start();
    w().Text1.setText(folder / "gpx");
    machine.chooseNext(folder.write("harbour.osm", harbourOsm));
    w().mf_Click(2);
    ASSERT_EQ(w().List1(2).items(), (std::vector<std::string>{"bakery", "cafe"}));
  }
  void choose(const std::string& category) {
    auto& list = w().List1(2);
    for (int i = 0; i < list.count(); ++i) {
      if (list.item(i) == category) list.setSelectedIndex(i);
    }
    w().List1_MouseDown(2);
  }
  std::string gpxOf(const std::string& category) {
    return folder / ("gpx/" + category + "/" + category + ".gpx");
  }
  bool groupEnabled() {
    return w().Command1.enabled() && w().Command2(0).enabled() && w().Command3.enabled() &&
           w().Command4.enabled() && w().Picture5(0).enabled() && w().Picture5(1).enabled();
  }
  std::string missingIconReport(int added, const std::string& category) {
    return "GPX created\r\n\r\nNew POIs added: " + std::to_string(added) + "\r\n\r\n" + category +
           ".bmp not found in same folder as \r\n\r\n" + gpxOf(category) +
           "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.";
  }
};

TEST_F(CategoryWorkflowTest, PressOnACategoryWithoutGpx) {
  startWithOsm();
  w().List2.addItem("from before");
  choose("cafe");
  EXPECT_EQ(w().List1(0).items(), (std::vector<std::string>{"Mint Leaf", "Bean &amp; Leaf"}));
  EXPECT_EQ(w().Label1(0).caption(), "POIS found: 2");
  EXPECT_EQ(w().List2.count(), 0);
  EXPECT_EQ(w().List3.count(), 0);
  EXPECT_TRUE(w().Frame1.visible());
  EXPECT_EQ(w().Label6.caption(), "GPX not yet created.");
  EXPECT_EQ(w().Command1.caption(), "Create GPX");
  EXPECT_EQ(w().Label4(2).caption(), gpxOf("cafe"));
  EXPECT_EQ(program->state.bmppath, folder / "gpx/cafe/cafe.bmp");
  EXPECT_EQ(w().Image1.toolTip(), program->state.bmppath + " ");
  EXPECT_EQ(w().Image1.resource(), w().Picture1.resource());
  EXPECT_TRUE(groupEnabled());
  EXPECT_FALSE(files::exists(folder / "gpx/cafe"));  // a listing run makes nothing
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(CategoryWorkflowTest, PressWithNothingSelectedStillRefreshes) {
  startWithOsm();
  choose("bakery");
  w().List1(2).setSelectedIndex(-1);
  w().List1_MouseDown(0);
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Please select"});
  EXPECT_EQ(program->state.category, "bakery");
  EXPECT_EQ(w().List1(0).items(), std::vector<std::string>{"Daily Loaf"});
  EXPECT_EQ(w().Label1(0).caption(), "POIS found: 1");
  EXPECT_EQ(w().Label6.caption(), "GPX not yet created.");
  EXPECT_TRUE(groupEnabled());
}

TEST_F(CategoryWorkflowTest, CreateReportsWhatItAddedAndTheMissingIcon) {
  startWithOsm();
  choose("cafe");
  w().Command1_Click();
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{missingIconReport(2, "cafe")});
  EXPECT_EQ(w().List2.items(), (std::vector<std::string>{"Mint Leaf", "Bean &amp; Leaf"}));
  EXPECT_EQ(w().List3.items(),
            (std::vector<std::string>{" 54.1 9.9 Mint Leaf", " 54.2 9.8 Bean &amp; Leaf"}));
  EXPECT_FALSE(w().Frame1.visible());
  EXPECT_EQ(w().Command1.caption(), "Create GPX");  // until the next press
  EXPECT_TRUE(w().Command1.enabled());
  EXPECT_FALSE(machine.busyPointer());
  EXPECT_TRUE(program->state.addmode);

  // With the icon beside the GPX the report ends with its path; nothing new is added.
  folder.write("gpx/cafe/cafe.bmp", "BM");
  machine.forgetMessages();
  choose("cafe");
  EXPECT_EQ(w().Command1.caption(), "Add POIs");
  EXPECT_FALSE(w().Frame1.visible());
  w().Command1_Click();
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{
                                        "GPX created\r\n\r\nNew POIs added: 0\r\n" +
                                        folder / "gpx/cafe/cafe.bmp"});
  EXPECT_EQ(w().List3.count(), 2);
}

TEST_F(CategoryWorkflowTest, RunsThatEndEarlyShowNoReport) {
  startWithOsm();
  w().Command1.setEnabled(true);
  w().Command1_Click();  // nothing selected
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Please select"});
  EXPECT_TRUE(w().Command1.enabled());
  EXPECT_FALSE(machine.busyPointer());

  std::string broken = folder.write("gpx/cafe/cafe.gpx", "<gpx><wpt lat=\"1\" lon=\"2\">");
  choose("cafe");
  machine.forgetMessages();
  w().Command1_Click();
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Error merging file"});
  EXPECT_EQ(slurp(broken), "<gpx><wpt lat=\"1\" lon=\"2\">");
  EXPECT_TRUE(w().Command1.enabled());
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(CategoryWorkflowTest, AnOldGpxThatCannotBeReadIsReportedOnce) {
  startWithOsm();
  files::makeFolder(folder / "gpx");
  files::makeFolder(folder / "gpx/cafe");
  // An ordinary file that no one, root included, can read.
  ASSERT_EQ(::symlink("/proc/self/mem", gpxOf("cafe").c_str()), 0);
  choose("cafe");  // the waypoint list cannot read it either, and says so
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Input/output error"});
  machine.forgetMessages();
  // The run says it once and ends; then the refreshed waypoint list says it again.
  w().Command1_Click();
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>(2, "Input/output error"));
  char target[64] = {};
  ASSERT_GT(::readlink(gpxOf("cafe").c_str(), target, sizeof target - 1), 0);
  EXPECT_STREQ(target, "/proc/self/mem");
  EXPECT_TRUE(w().Command1.enabled());
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(CategoryWorkflowTest, IconIsLookedForBesideTheGpxWithItsCaseKept) {
  startWithOsm();
  w().Text1.setText(folder / "Maps.gpx/GPX");
  folder.write("Maps.gpx/GPX/cafe/cafe.bmp", "BM");
  choose("cafe");
  EXPECT_EQ(program->state.bmppath, folder / "Maps.gpx/GPX/cafe/cafe.bmp");
  w().Command1_Click();
  EXPECT_EQ(machine.messageTexts().back(),
            "GPX created\r\n\r\nNew POIs added: 2\r\n" + folder / "Maps.gpx/GPX/cafe/cafe.bmp");
}

TEST_F(CategoryWorkflowTest, SoundAndAlertBoxesEnableTheirControls) {
  start();
  w().Check1.setValue(1);
  w().Check1_MouseUp();
  EXPECT_TRUE(w().Opt(0).enabled());
  EXPECT_TRUE(w().Opt(1).enabled());
  w().Check1.setValue(0);
  w().Check1_MouseUp();
  EXPECT_FALSE(w().Opt(1).enabled());

  w().Check2.setValue(1);
  w().Check2_MouseUp();
  EXPECT_TRUE(program->state.alert);
  EXPECT_TRUE(w().Text3(0).enabled());
  w().Check2.setValue(2);  // greyed counts as off
  w().Check2_MouseUp();
  EXPECT_FALSE(program->state.alert);
  EXPECT_FALSE(w().Text3(0).enabled());
  EXPECT_FALSE(w().Text3(1).enabled());
}

TEST_F(CategoryWorkflowTest, CategoryPressesWaitForTheWritingRun) {
  startWithOsm();
  choose("cafe");
  bool pressed = false;
  machine.duringYield([&] {
    if (pressed) return;
    pressed = true;
    w().List1(2).setSelectedIndex(0);  // bakery
    w().List1_MouseDown(2);
    w().Command1_Click();
  });
  w().Command1_Click();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(program->state.category, "cafe");
  EXPECT_EQ(w().List2.count(), 2);
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{missingIconReport(2, "cafe")});
  EXPECT_FALSE(files::exists(gpxOf("bakery")));
}

TEST_F(CategoryWorkflowTest, NothingGetsInBetweenARunAndItsReport) {
  startWithOsm();
  choose("cafe");
  // Every yield of the create button's work, the refresh of the waypoint list after the run
  // included, gets a press on another category; none of them is taken.
  int presses = 0;
  machine.duringYield([&] {
    ++presses;
    EXPECT_FALSE(w().List1(2).enabled());
    EXPECT_FALSE(w().List1(0).enabled());
    w().List1(2).setSelectedIndex(0);  // bakery
    w().List1_MouseDown(2);
    w().List1(2).setSelectedIndex(1);
  });
  w().Command1_Click();
  machine.duringYield({});
  EXPECT_GT(presses, 2);
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{missingIconReport(2, "cafe")});
  EXPECT_EQ(program->state.category, "cafe");
  EXPECT_EQ(w().List2.count(), 2);
  EXPECT_EQ(w().List3.count(), 2);
  EXPECT_TRUE(w().List1(2).enabled());
  EXPECT_TRUE(w().List1(0).enabled());
}

TEST_F(CategoryWorkflowTest, PressOnThePoiListRepeatsTheChosenCategory) {
  startWithOsm();
  choose("cafe");
  w().Command1_Click();
  machine.forgetMessages();
  w().List1(0).setSelectedIndex(1);
  w().List1_MouseDown(0);
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(w().List1(0).count(), 2);
  EXPECT_EQ(w().Command1.caption(), "Add POIs");
  EXPECT_EQ(w().Label1(0).caption(), "POIS found: 2");
}

TEST(ShowGpx, LinesOfTheWaypoints) {
  EXPECT_EQ(workflow::waypointLines(
                "<gpx>\r\n<wpt lat=\"1.5\" lon=\"2\">\r\n<name>A &amp; B</name>\r\n</wpt>\r\n"
                "<wpt lat=\"3\" lon=\"4\">\r\n<name>no end"),
            (std::vector<std::string>{" 1.5 2 A &amp; B", " 3 4 "}));
  EXPECT_TRUE(workflow::waypointLines("<gpx></gpx>").empty());
  EXPECT_TRUE(workflow::waypointLines("").empty());
  // A piece cut off inside its start tag and a waypoint without a name.
  EXPECT_EQ(workflow::waypointLines("<wpt lat=\"1\"><wpt lat=\"5\" lon=\"6\"/>"),
            (std::vector<std::string>{" 1 ", " 5 6/ "}));
}

}  // namespace
}  // namespace waymint::testing
