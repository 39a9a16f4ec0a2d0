#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/edit.h"
#include "editors/gpx_text.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Names = std::vector<std::string>;
using Texts = std::vector<std::string>;

class EditTest : public ProgramTest {
 protected:
  app::Program& p = start();
  editors::edit window{p};

  EditTest() { window.Form_Load(); }

  void openGpx(const std::string& path) {
    machine.chooseNext(path);
    window.mff_Click(0);
  }
};

// --- the window as it opens ---

TEST_F(EditTest, OpensWithItsCaptionMenuAndEmptyList) {
  EXPECT_EQ(window.name(), "edit");
  EXPECT_EQ(window.caption(), "Edit");
  EXPECT_EQ(window.List1.count(), 0);
  for (int index = 0; index <= 2; ++index) EXPECT_EQ(window.Text1(index).text(), "Text1");
  EXPECT_EQ(window.Command1.caption(), "Close");
  EXPECT_EQ(window.mf.caption(), "File");
  Texts captions;
  for (auto& [index, entry] : window.mff.members()) captions.push_back(entry.caption());
  EXPECT_EQ(captions, (Texts{"Open GPX", "-", "Save GPX", "-", "Exit"}));
  EXPECT_EQ(window.controls().size(), 11u);
}

TEST_F(EditTest, ActivationRestoresTheDefaultPointer) {
  machine.setBusyPointer(true);
  window.Form_Activate();
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(EditTest, CloseAndExitCloseTheWindow) {
  window.Command1_Click();
  EXPECT_TRUE(window.closed());
  editors::edit second(p);
  second.Form_Load();
  second.mff_Click(4);
  EXPECT_TRUE(second.closed());
}

// --- reading the waypoint names ---

TEST_F(EditTest, ListsTheNamesOfAWrittenFileInFileOrder) {
  std::string path = folder.write("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  openGpx(path);
  EXPECT_EQ(machine.messageTexts(), Texts{"3"});
  EXPECT_EQ(window.List1.items(), (Names{"Caf&#233; de Paris", "Le Bar", "Tip Top"}));
  EXPECT_FALSE(machine.busyPointer());
  ASSERT_EQ(machine.dialogs().size(), 1u);
  EXPECT_EQ(machine.dialogs()[0].pattern, "*.gpx");
  EXPECT_EQ(machine.dialogs()[0].defaultExtension, ".gpx");
}

TEST_F(EditTest, AFileWithoutWaypointsCountsNone) {
  openGpx(folder.write("head.gpx", gpxHead() + "</gpx>\r\n"));
  openGpx(folder.write("empty.gpx", ""));
  EXPECT_EQ(machine.messageTexts(), (Texts{"0", "0"}));
  EXPECT_EQ(window.List1.count(), 0);
}

TEST_F(EditTest, AWaypointTagFollowedByALineBreakOrTabIsNotCounted) {
  std::string text = gpxHead() + waypointBlock(threeCafes()[0], alertLine(true, "150"));
  std::string second = waypointBlock(threeCafes()[1], alertLine(true, "150"));
  std::string third = waypointBlock(threeCafes()[2], alertLine(true, "150"));
  second.replace(0, 5, "<wpt\r\n");
  third.replace(0, 5, "<wpt\t");
  openGpx(folder.write("odd.gpx", text + second + third + "</gpx>\r\n"));
  EXPECT_EQ(machine.messageTexts(), Texts{"1"});
  // The uncounted blocks belong to the first one, whose first name counts.
  EXPECT_EQ(window.List1.items(), Names{"Caf&#233; de Paris"});
}

TEST_F(EditTest, EqualNamesGiveEqualEntries) {
  std::vector<WaypointText> twins = {{"1", "2", "Pharmacie"}, {"3", "4", "Pharmacie"}};
  openGpx(folder.write("twins.gpx", gpxDocument(twins, false, "25")));
  EXPECT_EQ(window.List1.items(), (Names{"Pharmacie", "Pharmacie"}));
}

TEST_F(EditTest, TheNameEndsAtTheFirstEndTagEvenInsideIt) {
  std::string text = "<gpx><wpt lat=\"1\"><name>A <b>bold</b> one</name></wpt></gpx>";
  openGpx(folder.write("tags.gpx", text));
  EXPECT_EQ(window.List1.items(), Names{"A <b>bold"});
}

TEST_F(EditTest, AWaypointWithoutANameIsReportedAndSkipped) {
  std::string text =
      "<gpx><wpt lat=\"1\"><name>First</name></wpt>"
      "<wpt lat=\"2\"><desc>no name</desc></wpt>"
      "<wpt lat=\"3\"><name>Unended"
      "<wpt lat=\"4\"><name>Last</name></wpt></gpx>";
  openGpx(folder.write("broken.gpx", text));
  const std::string invalid = "Invalid procedure call or argument";
  EXPECT_EQ(machine.messageTexts(), (Texts{"4", invalid, invalid}));
  EXPECT_EQ(window.List1.items(), (Names{"First", "Last"}));
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(EditTest, ASecondFileReplacesTheList) {
  openGpx(folder.write("cafe.gpx", gpxDocument(threeCafes(), true, "150")));
  openGpx(folder.write("one.gpx", gpxDocument({{"1", "2", "Solo"}}, true, "150")));
  EXPECT_EQ(window.List1.items(), Names{"Solo"});
}

TEST_F(EditTest, ReadingLeavesTheCurrentOsmFileAlone) {
  p.state.osmfile = "/maps/monaco.osm";
  machine.setClock([] { return 3600.0; });
  std::string path = folder.write("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  EXPECT_EQ(window.loadtext2(path), gpxDocument(threeCafes(), true, "150"));
  EXPECT_EQ(p.state.osmfile, "/maps/monaco.osm");
  EXPECT_DOUBLE_EQ(p.state.starttime, 3600.0);
  EXPECT_EQ(window.loadtext2(folder / "missing.gpx"), "");
}

// --- what does nothing ---

TEST_F(EditTest, SaveGpxChangesNothing) {
  std::string bytes = gpxDocument(threeCafes(), true, "150");
  std::string path = folder.write("cafe.gpx", bytes);
  openGpx(path);
  machine.forgetMessages();
  window.mff_Click(2);
  EXPECT_EQ(window.List1.count(), 3);
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(machine.dialogs().size(), 1u);
  EXPECT_EQ(slurp(path), bytes);
  EXPECT_FALSE(window.closed());
}

TEST_F(EditTest, ACancelIsReportedAndKeepsTheList) {
  openGpx(folder.write("cafe.gpx", gpxDocument(threeCafes(), true, "150")));
  machine.forgetMessages();
  window.mff_Click(0);  // nothing scripted: the dialog is cancelled
  EXPECT_EQ(machine.messageTexts(), Texts{"Cancel was selected."});
  EXPECT_EQ(window.List1.count(), 3);
}

TEST_F(EditTest, AMissingFileOrANameWithAStarIsRefusedSilently) {
  openGpx(folder.write("cafe.gpx", gpxDocument(threeCafes(), true, "150")));
  machine.forgetMessages();
  openGpx(folder / "gone.gpx");
  openGpx(folder.write("star*.gpx", gpxDocument({{"1", "2", "Star"}}, true, "150")));
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(window.List1.count(), 3);
}

}  // namespace
}  // namespace waymint::testing
