#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "editors/edall.h"
#include "editors/gpx_text.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
using platform::Answer;

bool wellFormed(const std::string& path) {
  std::string command = "xmllint --noout '" + path + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

class EdallTest : public ProgramTest {
 protected:
  app::Program& p = start();
  editors::edall window{p};

  EdallTest() { window.Form_Load(); }

  // Picks the file with "Load GPX".
  std::string pick(const std::string& name, const std::string& bytes) {
    std::string path = folder.write(name, bytes);
    machine.chooseNext(path);
    window.Command2_Click();
    return path;
  }
  void apply(bool alert, const std::string& distance) {
    p.state.alert = alert;
    window.Text3(1).setText(distance);
    window.Command1_Click(0);
  }
  std::string overwriteQuestion(const std::string& path) { return path + " exists. Overwrite?"; }
};

// --- the window as it opens ---

TEST_F(EdallTest, OpensWithItsControlsAndNoFile) {
  p.state.alert = true;
  editors::edall fresh(p);
  fresh.Form_Load();
  EXPECT_EQ(fresh.name(), "edall");
  EXPECT_EQ(fresh.caption(), "Form1");
  EXPECT_EQ(fresh.Command2.caption(), "Load GPX");
  EXPECT_EQ(fresh.Label2(0).caption(), "Speed");
  EXPECT_EQ(fresh.Text3(0).text(), "20");
  EXPECT_EQ(fresh.Label2(1).caption(), "Proximity");
  EXPECT_EQ(fresh.Text3(1).text(), "150");
  EXPECT_EQ(fresh.Check2.caption(), "Alert");
  EXPECT_EQ(fresh.Check2.value(), 0);  // whatever the shared flag holds
  EXPECT_EQ(fresh.Check2.backColor(), (platform::Rgb{255, 255, 255}));
  EXPECT_EQ(fresh.Command1(0).caption(), "Apply");
  EXPECT_EQ(fresh.Command1(1).caption(), "Close");
  EXPECT_EQ(fresh.editfile(), "");
  EXPECT_EQ(fresh.controls().size(), 8u);
}

TEST_F(EdallTest, CloseClosesTheWindow) {
  window.Command1_Click(1);
  EXPECT_TRUE(window.closed());
}

// --- the "Alert" box and "Load GPX" ---

TEST_F(EdallTest, TheAlertBoxWritesTheFlagOnMouseRelease) {
  window.Check2.setValue(1);
  EXPECT_FALSE(p.state.alert);  // a change alone, as from the keyboard, does not reach it
  window.Check2_MouseUp();
  EXPECT_TRUE(p.state.alert);
  window.Check2.setValue(0);
  window.Check2_MouseUp();
  EXPECT_FALSE(p.state.alert);
  window.Check2.setValue(2);  // greyed does not count as checked
  window.Check2_MouseUp();
  EXPECT_FALSE(p.state.alert);
}

TEST_F(EdallTest, LoadGpxTakesAnExistingFileOnly) {
  std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  EXPECT_EQ(window.editfile(), path);
  ASSERT_EQ(machine.dialogs().size(), 1u);
  EXPECT_EQ(machine.dialogs()[0].pattern, "*.gpx");
  EXPECT_EQ(machine.dialogs()[0].defaultExtension, ".gpx");

  machine.chooseNext(folder / "gone.gpx");
  window.Command2_Click();
  window.Command2_Click();  // cancelled
  EXPECT_EQ(window.editfile(), path);
  EXPECT_EQ(machine.messageTexts(), Texts{"Cancel was selected."});
}

TEST_F(EdallTest, EachOpeningStartsWithoutAFile) {
  pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  window.Form_Load();
  EXPECT_EQ(window.editfile(), "");
  window.Command1_Click(0);
  EXPECT_EQ(machine.messageTexts(), Texts{"Please select file."});
}

// --- rewriting the alerts ---

TEST_F(EdallTest, AlertOnGivesEveryWaypointTheNewDistance) {
  std::string before = gpxDocument(threeCafes(), true, "150");
  std::string path = pick("cafe.gpx", before);
  apply(true, "300");
  EXPECT_EQ(machine.messageTexts(), (Texts{before, "saving", overwriteQuestion(path)}));
  EXPECT_EQ(machine.messages()[2].buttons, platform::Buttons::YesNo);
  // Only the alert lines change; the save adds one CR LF to the rebuilt text.
  EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), true, "300") + "\r\n");
  EXPECT_TRUE(wellFormed(path));
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(EdallTest, AlertOffCommentsTheElementOutKeepingItsDistance) {
  std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  apply(false, "300");
  EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), false, "150") + "\r\n");
  EXPECT_TRUE(wellFormed(path));
}

TEST_F(EdallTest, AlertOffOnCommentedAlertsWritesNothing) {
  std::string before = gpxDocument(threeCafes(), false, "150");
  std::string path = pick("cafe.gpx", before);
  apply(false, "300");
  EXPECT_EQ(machine.messageTexts(), Texts{before});
  EXPECT_EQ(slurp(path), before);
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(EdallTest, AlertOnOverCommentedAlertsMakesThemLive) {
  std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), false, "150"));
  apply(true, "300");
  EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), true, "300") + "\r\n");
  EXPECT_TRUE(wellFormed(path));
}

TEST_F(EdallTest, AlertOnOverLiveAndCommentedAlertsLeavesOneLiveDistance) {
  auto cafes = threeCafes();
  std::string text = gpxHead() + waypointBlock(cafes[0], alertLine(true, "150")) +
                     waypointBlock(cafes[1], alertLine(false, "150")) +
                     waypointBlock(cafes[2], alertLine(false, "99")) + "</gpx>\r\n";
  std::string path = pick("extended.gpx", text);
  apply(true, "300");
  // The first element, live or commented, takes the new distance; another one stays.
  std::string expected = gpxHead() + waypointBlock(cafes[0], alertLine(true, "300")) +
                         waypointBlock(cafes[1], alertLine(true, "300")) +
                         waypointBlock(cafes[2], alertLine(false, "99")) + "</gpx>\r\n\r\n";
  EXPECT_EQ(slurp(path), expected);
  EXPECT_TRUE(wellFormed(path));
}

TEST_F(EdallTest, TheSharedFlagCountsWhenTheBoxWasNotTouched) {
  std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  p.state.alert = true;  // set by the main window
  window.Text3(1).setText("75");
  window.Command1_Click(0);
  EXPECT_EQ(window.Check2.value(), 0);
  EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), true, "75") + "\r\n");
}

TEST_F(EdallTest, ASecondRunSeesTheFirstRunsResult) {
  std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  apply(true, "300");
  apply(true, "400");
  // Each save adds a CR LF to the text it read.
  EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), true, "400") + "\r\n\r\n");
}

TEST_F(EdallTest, OnlyWaypointsHoldingTheFirstElementExactlyChange) {
  auto cafes = threeCafes();
  const std::string capitals = "  <GPXX:PROXIMITY>150</GPXX:PROXIMITY>";
  std::string text = gpxHead() + waypointBlock(cafes[0], capitals) +
                     waypointBlock(cafes[1], alertLine(true, "150")) +
                     waypointBlock(cafes[2], capitals) + "</gpx>\r\n";
  std::string path = pick("caps.gpx", text);
  apply(true, "300");
  std::string expected = gpxHead() + waypointBlock(cafes[0], alertLine(true, "300")) +
                         waypointBlock(cafes[1], alertLine(true, "150")) +
                         waypointBlock(cafes[2], alertLine(true, "300")) + "</gpx>\r\n\r\n";
  EXPECT_EQ(slurp(path), expected);
}

TEST_F(EdallTest, WaypointsWithAnotherDistanceStayButTheFileIsWritten) {
  auto cafes = threeCafes();
  std::string text = gpxHead() + waypointBlock(cafes[0], alertLine(true, "150")) +
                     waypointBlock(cafes[1], alertLine(true, "99")) + "</gpx>\r\n";
  std::string path = pick("mixed.gpx", text);
  apply(true, "300");
  std::string expected = gpxHead() + waypointBlock(cafes[0], alertLine(true, "300")) +
                         waypointBlock(cafes[1], alertLine(true, "99")) + "</gpx>\r\n\r\n";
  EXPECT_EQ(slurp(path), expected);

  // Even when no waypoint holds the first element the file is written back.
  std::string header = "<gpx><metadata><gpxx:Proximity>5</gpxx:Proximity></metadata>";
  std::string other = header + "<wpt><gpxx:Proximity>7</gpxx:Proximity></wpt></gpx>";
  std::string otherPath = pick("header.gpx", other);
  apply(true, "300");
  EXPECT_EQ(slurp(otherPath), other + "\r\n");
}

TEST_F(EdallTest, AnsweringNoLeavesTheFileAsItWas) {
  std::string before = gpxDocument(threeCafes(), true, "150");
  std::string path = pick("cafe.gpx", before);
  machine.answerNext(Answer::Ok);  // the whole-text message
  machine.answerNext(Answer::Ok);  // "saving"
  machine.answerNext(Answer::No);
  apply(true, "300");
  EXPECT_EQ(machine.messageTexts().back(), overwriteQuestion(path));
  EXPECT_EQ(slurp(path), before);
  EXPECT_FALSE(machine.busyPointer());
}

// --- the distance ---

TEST_F(EdallTest, DistancesBelowOneAreRefused) {
  std::string before = gpxDocument(threeCafes(), true, "150");
  std::string path = pick("cafe.gpx", before);
  for (const char* typed : {"far", "", "0", "0.5", "-3"}) {
    machine.forgetMessages();
    apply(true, typed);
    EXPECT_EQ(machine.messageTexts(), Texts{"Check proximity"}) << typed;
    EXPECT_FALSE(machine.busyPointer());
  }
  EXPECT_EQ(slurp(path), before);
}

TEST_F(EdallTest, DistancesRoundHalfToEven) {
  struct Case {
    const char* typed;
    const char* written;
  };
  for (Case c : {Case{"1.5", "2"}, Case{"2.5", "2"}, Case{"3.5", "4"}, Case{"2.51", "3"},
                 Case{" 12 m", "12"}}) {
    std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
    apply(true, c.typed);
    EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), true, c.written) + "\r\n") << c.typed;
  }
}

TEST_F(EdallTest, ADistanceBeyondSixteenBitsOverflows) {
  std::string before = gpxDocument(threeCafes(), true, "150");
  std::string path = pick("cafe.gpx", before);
  apply(true, "32768");
  EXPECT_EQ(machine.messageTexts(), Texts{"Overflow"});
  EXPECT_EQ(slurp(path), before);
  EXPECT_FALSE(machine.busyPointer());

  apply(true, "32767");
  EXPECT_EQ(slurp(path), gpxDocument(threeCafes(), true, "32767") + "\r\n");
}

// --- files it cannot work on ---

TEST_F(EdallTest, NoFileOrAVanishedFileAsksForOne) {
  window.Command1_Click(0);
  std::string path = pick("cafe.gpx", "x");
  std::remove(path.c_str());
  window.Command1_Click(0);
  EXPECT_EQ(machine.messageTexts(), (Texts{"Please select file.", "Please select file."}));
  EXPECT_EQ(machine.busyChanges(), 0);
}

TEST_F(EdallTest, TextWithoutWaypointsCannotBeParsed) {
  std::string path = pick("head.gpx", gpxHead() + "<WPT lat=\"1\"></WPT></gpx>\r\n");
  apply(true, "300");
  pick("empty.gpx", "");
  apply(true, "300");
  EXPECT_EQ(machine.messageTexts(), (Texts{"Can't parse this file", "Can't parse this file"}));
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(EdallTest, WaypointsWithoutProximityAreReportedOneByOne) {
  std::string before = "<gpx><wpt lat=\"1\"/><wpt lat=\"2\"/><wptx/></gpx>";
  std::string path = pick("bare.gpx", before);
  apply(true, "300");
  EXPECT_EQ(machine.messageTexts(), (Texts{before, "kennee find proximity", "kennee find proximity",
                                           "kennee find proximity"}));
  EXPECT_EQ(slurp(path), before);
}

TEST_F(EdallTest, AnUnclosedElementIsLeftSilently) {
  std::string before = "<gpx><wpt><gpxx:Proximity>5</wpt></gpx>";
  std::string path = pick("open.gpx", before);
  apply(true, "300");
  apply(false, "300");
  EXPECT_EQ(machine.messageTexts(), (Texts{before, before}));
  EXPECT_EQ(slurp(path), before);
}

TEST_F(EdallTest, ReadingRecordsTheFileAsTheCurrentOne) {
  std::string path = pick("cafe.gpx", gpxDocument(threeCafes(), true, "150"));
  apply(true, "300");
  EXPECT_EQ(p.state.osmfile, path);
}

}  // namespace
}  // namespace waymint::testing
