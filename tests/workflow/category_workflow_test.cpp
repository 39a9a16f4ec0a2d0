#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "workflow/category_workflow.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

const std::string harbour = osmFile(
    osmNode("1", "54.1", "9.9", {{"amenity", "cafe"}, {"name", "Mint Leaf"}}) +
    osmNode("2", "54.2", "9.8", {{"amenity", "cafe"}, {"name", "Bean &amp; Leaf"}}) +
    osmNode("3", "54.3", "9.7", {{"shop", "bakery"}, {"name", "Daily Loaf"}}));

class CategoryWorkflowTest : public ProgramTest {
 protected:
  app::f1& w() { return program->f1; }
  void SetUp() override {
    start();
    open(harbour);
  }
  std::string missingIconReport(int added) {
    return "GPX created\r\n\r\nNew POIs added: " + std::to_string(added) +
           "\r\n\r\ncafe.bmp not found in same folder as \r\n\r\n" + gpxOf("cafe") +
           "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.";
  }
  bool groupEnabled() {
    return w().Command1.enabled() && w().Command2(0).enabled() && w().Command3.enabled() &&
           w().Command4.enabled() && w().Picture5(0).enabled() && w().Picture5(1).enabled();
  }
};

TEST_F(CategoryWorkflowTest, PressCreateAndPressAgain) {
  const std::string icon = gpxFolder() + "/cafe/cafe.bmp";
  w().List2.addItem("from before");
  press("cafe");
  EXPECT_EQ(w().List2.count(), 0);
  EXPECT_EQ(w().List1(0).items(), (Texts{"Mint Leaf", "Bean &amp; Leaf"}));
  EXPECT_EQ(w().Label1(0).caption(), "POIS found: 2");
  EXPECT_EQ(w().Label4(2).caption(), gpxOf("cafe"));
  EXPECT_EQ(w().Label6.caption(), "GPX not yet created.");
  EXPECT_TRUE(w().Frame1.visible());
  EXPECT_EQ(w().Command1.caption(), "Create GPX");
  EXPECT_EQ(w().Image1.toolTip(), icon + " ");
  EXPECT_EQ(w().Image1.resource(), ":/icons/poi.png");
  EXPECT_TRUE(groupEnabled());

  EXPECT_EQ(create(), missingIconReport(2));
  EXPECT_EQ(w().List2.items(), (Texts{"Mint Leaf", "Bean &amp; Leaf"}));
  EXPECT_EQ(w().List3.items(), (Texts{" 54.1 9.9 Mint Leaf", " 54.2 9.8 Bean &amp; Leaf"}));
  EXPECT_FALSE(w().Frame1.visible());
  EXPECT_EQ(w().Command1.caption(), "Create GPX");  // until the next press
  EXPECT_TRUE(w().Command1.enabled());
  EXPECT_FALSE(machine.busyPointer());

  folder.write("gpx/cafe/cafe.bmp", "BM");
  press("cafe");
  EXPECT_EQ(w().Command1.caption(), "Add POIs");
  EXPECT_FALSE(w().Frame1.visible());
  EXPECT_EQ(w().Image1.file(), icon);
  workflow::Command1_Click(*program);
  EXPECT_EQ(takeMessages(), Texts{"GPX created\r\n\r\nNew POIs added: 0\r\n" + icon});
  EXPECT_EQ(w().List3.count(), 2);
}

TEST_F(CategoryWorkflowTest, NoSelectionAndRunsThatEndEarly) {
  press("bakery");
  w().Label6.setCaption("changed");
  w().Label1(0).setCaption("changed");
  w().List1(2).setSelectedIndex(-1);
  workflow::List1_MouseDown(*program, 0);
  workflow::Command1_Click(*program);
  EXPECT_EQ(takeMessages(), (Texts{"Please select", "Please select"}));
  EXPECT_EQ(program->state.gpxpath, gpxOf("bakery"));
  EXPECT_EQ(w().List1(0).items(), Texts{"Daily Loaf"});
  EXPECT_EQ(w().Label1(0).caption(), "POIS found: 1");
  EXPECT_EQ(w().Label6.caption(), "GPX not yet created.");
  EXPECT_TRUE(groupEnabled());

  const std::string broken = folder.write("gpx/cafe/cafe.gpx", "<gpx><wpt lat=\"1\" lon=\"2\">");
  press("cafe");
  EXPECT_EQ(create(), "");
  EXPECT_EQ(takeMessages(), Texts{"Error merging file " + gpxOf("cafe")});
  EXPECT_EQ(slurp(broken), "<gpx><wpt lat=\"1\" lon=\"2\">");
  EXPECT_TRUE(w().Command1.enabled());
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(CategoryWorkflowTest, WaypointLinesOfAGpxWrittenElsewhere) {
  folder.write("gpx/cafe/cafe.gpx",
               "<gpx>\r\n<wpt lat=\"1.5\" lon='2'>\r\n<name>A &amp; B</name>\r\n</wpt>\r\n"
               "<wpt lon=\"4\" lat=\"3\"><sym>x</sym></wpt>\r\n"
               "<wpt lat=\"5\" lon=\"6\"><name>no end");
  press("cafe");
  EXPECT_EQ(w().List3.items(), (Texts{" 1.5 lon='2' A &amp; B", " 4 3 ", " 5 6 "}));
  EXPECT_FALSE(w().Frame1.visible());
  EXPECT_EQ(w().Command1.caption(), "Add POIs");
}

TEST_F(CategoryWorkflowTest, NothingStartsDuringTheYieldsOfAPressOrACreate) {
  press("cafe");
  int tries = 0;
  machine.duringYield([&] {
    ++tries;
    EXPECT_FALSE(w().List1(2).enabled());
    w().List1(2).setSelectedIndex(0);  // bakery
    workflow::List1_MouseDown(*program, 2);
    EXPECT_EQ(create(), "");
    w().List1(2).setSelectedIndex(1);
  });
  EXPECT_EQ(create(), missingIconReport(2));
  EXPECT_GT(tries, 2);
  EXPECT_EQ(program->state.category, "cafe");
  EXPECT_EQ(w().List2.count(), 2);
  EXPECT_EQ(w().List3.count(), 2);

  tries = 0;
  press("cafe");
  EXPECT_GT(tries, 0);
  EXPECT_EQ(w().List1(0).count(), 2);
  EXPECT_FALSE(platform::files::exists(gpxFolder() + "/bakery"));
  machine.duringYield({});
  EXPECT_TRUE(w().List1(2).enabled());
}

// A category chosen by keyboard shows before it is written: the button writes what the window
// shows, never the category shown before.
TEST_F(CategoryWorkflowTest, ACategoryChosenByKeyboardIsShownThenWritten) {
  press("cafe");
  w().List1(2).setSelectedIndex(0);  // Up arrow: bakery highlighted, the cafes still listed
  EXPECT_EQ(create(), "GPX created\r\n\r\nNew POIs added: 1\r\n\r\nbakery.bmp not found in same "
                      "folder as \r\n\r\n" + gpxOf("bakery") +
                      "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.");
  EXPECT_EQ(w().List1(0).items(), Texts{"Daily Loaf"});
  EXPECT_EQ(w().Label1(0).caption(), "POIS found: 1");
  EXPECT_EQ(w().Label4(2).caption(), gpxOf("bakery"));
  EXPECT_FALSE(platform::files::exists(gpxOf("cafe")));
}

// After another file is loaded nothing shows the category of the file before, also while it
// loads; a file that cannot be loaded puts it all back.
TEST_F(CategoryWorkflowTest, NoLabelShowsTheFileBefore) {
  folder.write("gpx/cafe/cafe.bmp", "BM");
  press("cafe");
  create();
  const auto shown = [&] {
    return w().List1(0).items().size() + w().List2.items().size() + w().List3.items().size();
  };
  const auto shownNothing = [&] {
    EXPECT_EQ(shown(), 0u);
    EXPECT_EQ(w().Label1(0).caption(), "POIS found:");
    EXPECT_EQ(w().Label4(2).caption(), "");
    EXPECT_EQ(w().Image1.resource(), "");
    EXPECT_EQ(w().Image1.toolTip(), "");
    EXPECT_EQ(w().Command1.caption(), "Create GPX");
    EXPECT_EQ(program->state.gpxpath, "");
  };
  int yields = 0;
  machine.duringYield([&] {
    if (yields++ > 0) return;
    shownNothing();  // the load has begun: not even the categories of the file before
    EXPECT_EQ(w().List1(2).count(), 0);
  });
  open(osmFile(osmNode({{"shop", "kiosk"}})), "other.osm");
  machine.duringYield({});
  EXPECT_GT(yields, 0);
  shownNothing();
  EXPECT_EQ(w().List1(2).items(), Texts{"kiosk"});

  // What the window showed comes back when the next file cannot be read.
  press("kiosk");
  const std::string before = w().Label4(2).caption() + w().Label1(0).caption();
  open("not an osm file", "bad.osm");
  takeMessages();
  EXPECT_EQ(w().Label4(2).caption() + w().Label1(0).caption(), before);
  EXPECT_EQ(program->state.gpxpath, gpxOf("kiosk"));
}

TEST_F(CategoryWorkflowTest, SoundAndAlertBoxesOnMouseRelease) {
  for (auto [value, on] : std::vector<std::pair<int, bool>>{{1, true}, {0, false}, {2, false}}) {
    SCOPED_TRACE(value);
    w().Check1.setValue(value);
    workflow::Check1_MouseUp(*program);
    EXPECT_EQ(w().Opt(0).enabled(), on);
    EXPECT_EQ(w().Opt(1).enabled(), on);
    w().Check2.setValue(value);
    workflow::Check2_MouseUp(*program);
    EXPECT_EQ(program->state.alert, on);
    EXPECT_EQ(w().Text3(0).enabled(), on);
    EXPECT_EQ(w().Text3(1).enabled(), on);
  }
}

}  // namespace
}  // namespace waymint::testing
