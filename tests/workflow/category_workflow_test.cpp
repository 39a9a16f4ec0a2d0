#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "workflow/category_workflow.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

class CategoryWorkflowTest : public ProgramTest {
 protected:
  app::f1& w() { return program->f1; }
  void SetUp() override {
    start();
    open(osmFile(osmNode("1", "54.1", "9.9", {{"amenity", "cafe"}, {"name", "Mint Leaf"}}) +
                 osmNode("2", "54.2", "9.8", {{"amenity", "cafe"}, {"name", "Bean &amp; Leaf"}}) +
                 osmNode("3", "54.3", "9.7", {{"shop", "bakery"}, {"name", "Daily Loaf"}})));
  }
  std::string missingIconReport(int added, const std::string& category = "cafe") {
    return "GPX created\r\n\r\nNew POIs added: " + std::to_string(added) + "\r\n\r\n" +
           category + ".bmp not found in same folder as \r\n\r\n" + gpxOf(category) +
           "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.";
  }
  // What the window shows of the category, a line each: POIs found, GPX, notice ("-" when
  // hidden), create button, icon (file or built-in picture) and its tip.
  std::string shown() {
    return w().Label1(0).caption() + "\n" + w().Label4(2).caption() + "\n" +
           (w().Frame1.visible() ? w().Label6.caption() : "-") + "\n" + w().Command1.caption() +
           "\n" + w().Image1.file() + w().Image1.resource() + "\n" + w().Image1.toolTip();
  }
  bool groupEnabled() {
    return w().Command1.enabled() && w().Command2(0).enabled() && w().Command3.enabled() &&
           w().Command4.enabled() && w().Picture5(0).enabled() && w().Picture5(1).enabled();
  }
};

TEST_F(CategoryWorkflowTest, PressCreateAndPressAgain) {
  const std::string gpx = gpxOf("cafe"), icon = gpxFolder() + "/cafe/cafe.bmp";
  w().List2.addItem("from before");
  press("cafe");
  EXPECT_EQ(w().List2.count(), 0);
  EXPECT_EQ(shown(), "POIS found: 2\n" + gpx + "\nGPX not yet created.\nCreate GPX\n" +
                         ":/icons/poi.png\n" + icon + " ");
  EXPECT_TRUE(groupEnabled());

  EXPECT_EQ(create(), missingIconReport(2));
  EXPECT_EQ(w().List3.items(), (Texts{" 54.1 9.9 Mint Leaf", " 54.2 9.8 Bean &amp; Leaf"}));
  // The button keeps its caption until the next press.
  EXPECT_EQ(shown(), "POIS found: 2\n" + gpx + "\n-\nCreate GPX\n:/icons/poi.png\n" + icon + " ");
  EXPECT_TRUE(w().Command1.enabled() && !machine.busyPointer());

  folder.write("gpx/cafe/cafe.bmp", "BM");
  press("cafe");
  EXPECT_EQ(shown(), "POIS found: 2\n" + gpx + "\n-\nAdd POIs\n" + icon + "\n" + icon + " ");
  workflow::Command1_Click(*program);
  EXPECT_EQ(takeMessages(), Texts{"GPX created\r\n\r\nNew POIs added: 0\r\n" + icon});
  EXPECT_EQ(w().List3.count(), 2);
}

// The button refuses a proximity a GPX cannot hold before anything is written, with or
// without Alert (the distance is written in a comment without it), and the box shows the
// distance that is written.
TEST_F(CategoryWorkflowTest, AProximityThatCannotBeWrittenIsRefusedBeforeTheRun) {
  press("cafe");
  for (int alert : {1, 0}) {
    w().Check2.setValue(alert);
    for (std::string refused : {"99999", "-32769", "abc", "", "25 m"}) {
      SCOPED_TRACE(refused + (alert ? " alert" : ""));
      w().Text3(1).setText(refused);
      workflow::Command1_Click(*program);
      EXPECT_EQ(takeMessages(),
                Texts{"The proximity must be a number of metres from -32768 to 32767, not \"" +
                      refused + "\". Nothing was written."});
      EXPECT_FALSE(platform::files::exists(gpxOf("cafe")));
      EXPECT_EQ(w().Text3(1).text(), refused);
      EXPECT_TRUE(w().Command1.enabled() && !machine.busyPointer());
    }
  }
  w().Check2.setValue(1);
  w().Text3(1).setText(" 12.6 ");
  workflow::Command1_Click(*program);
  EXPECT_EQ(takeMessages(), Texts{missingIconReport(2)});
  EXPECT_EQ(w().Text3(1).text(), "13");
  EXPECT_NE(slurp(gpxOf("cafe")).find("<gpxx:Proximity>13</gpxx:Proximity>"), std::string::npos);
}

TEST_F(CategoryWorkflowTest, NoSelectionAndAGpxWrittenElsewhereThatCannotBeExtended) {
  press("bakery");
  w().Label6.setCaption("changed");
  w().Label1(0).setCaption("changed");
  w().List1(2).setSelectedIndex(-1);
  workflow::List1_MouseDown(*program, 0);
  workflow::Command1_Click(*program);
  EXPECT_EQ(takeMessages(),
            (Texts{"Please select",  // the press
                   "Please select a category in the list of categories, then press Create GPX."}));
  EXPECT_EQ(program->state.gpxpath, gpxOf("bakery"));
  EXPECT_EQ(w().List1(0).items(), Texts{"Daily Loaf"});
  EXPECT_EQ(w().Label1(0).caption() + "|" + w().Label6.caption(),
            "POIS found: 1|GPX not yet created.");
  EXPECT_TRUE(groupEnabled());

  // A GPX written elsewhere, without its end: shown as it is, then not extended.
  const std::string odd = "<gpx>\r\n<wpt lat=\"1.5\" lon='2'>\r\n<name>A &amp; B</name>\r\n"
                          "</wpt>\r\n<wpt lon=\"4\" lat=\"3\"><sym>x</sym></wpt>\r\n"
                          "<wpt lat=\"5\" lon=\"6\"><name>no end";
  folder.write("gpx/cafe/cafe.gpx", odd);
  press("cafe");
  EXPECT_EQ(w().List3.items(), (Texts{" 1.5 lon='2' A &amp; B", " 4 3 ", " 5 6 "}));
  EXPECT_FALSE(w().Frame1.visible());
  EXPECT_EQ(w().Command1.caption(), "Add POIs");
  EXPECT_EQ(create(), "");
  EXPECT_EQ(takeMessages(), Texts{"Error merging file " + gpxOf("cafe")});
  EXPECT_EQ(slurp(gpxOf("cafe")), odd);
  EXPECT_TRUE(w().Command1.enabled() && !machine.busyPointer());
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
  EXPECT_EQ(std::pair(w().List2.count(), w().List3.count()), std::pair(2, 2));

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
  EXPECT_EQ(create(), missingIconReport(1, "bakery"));
  EXPECT_EQ(w().List1(0).items(), Texts{"Daily Loaf"});
  EXPECT_EQ(w().Label1(0).caption() + "|" + w().Label4(2).caption(),
            "POIS found: 1|" + gpxOf("bakery"));
  EXPECT_FALSE(platform::files::exists(gpxOf("cafe")));
}

// After another file is loaded nothing shows the category of the file before, also while it
// loads (that a file that cannot be loaded puts it all back: file_menu_test).
TEST_F(CategoryWorkflowTest, NoLabelShowsTheFileBefore) {
  folder.write("gpx/cafe/cafe.bmp", "BM");
  press("cafe");
  create();
  const auto shownNothing = [&] {
    EXPECT_EQ(w().List1(0).count() + w().List2.count() + w().List3.count(), 0);
    EXPECT_EQ(w().Text4.text() + program->state.gpxpath, "");
    EXPECT_EQ(shown(), "POIS found:\n\n-\nCreate GPX\n\n");  // no notice either
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
}

TEST_F(CategoryWorkflowTest, SoundAndAlertBoxesOnMouseRelease) {
  for (const int value : {1, 0, 2}) {  // only 1 is ticked
    w().Check1.setValue(value);
    w().Check2.setValue(value);
    workflow::Check1_MouseUp(*program);
    workflow::Check2_MouseUp(*program);
    EXPECT_EQ(program->state.alert, value == 1) << value;
    // The sound options follow Check1, the alert's texts Check2.
    EXPECT_EQ(w().Opt(0).enabled() + w().Opt(1).enabled() + w().Text3(0).enabled() +
                  w().Text3(1).enabled(), value == 1 ? 4 : 0) << value;
  }
}

}  // namespace
}  // namespace waymint::testing
