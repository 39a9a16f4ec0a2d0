#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "extraction_fixture.h"
#include "gpx/gpx_document.h"

namespace waymint::testing {
namespace {

using Names = std::vector<std::string>;
namespace files = platform::files;

const std::string pubs = osm(node("1", "43.71", "7.41", {{"amenity", "pub"}, {"name", "Swan"}}) +
                             node("2", "43.72", "7.42", {{"amenity", "cafe"}, {"name", "Moka"}}) +
                             node("3", "43.73", "7.43", {{"amenity", "pub"}, {"name", "Red Lion"}}) +
                             node("4", "43.74", "7.44", {{"amenity", "pub"}}));

std::string block(const std::string& lat, const std::string& lon, const std::string& name,
                  int proximity = 25, bool alert = false) {
  gpx::WaypointOptions options;
  options.proximity = proximity;
  options.alert = alert;
  return gpx::waypointBlock(lat, lon, name, options) + "\r\n";
}

const std::string swanBlock = block("43.71", "7.41", "Swan");
const std::string redLionBlock = block("43.73", "7.43", "Red Lion");
const std::string namelessBlock = block("43.74", "7.44", "pub:43.74,7.44");

class CreateGpxTest : public ExtractionTest {
 protected:
  CreateGpxTest() {
    load(pubs);
    choose("pub", {"cafe", "pub"});
  }
  std::string head() const { return gpx::gpxHead() + "\r\n"; }
};

TEST_F(CreateGpxTest, ListingRunListsNamesAndMakesNothing) {
  p.f1.Picture1.showResource(":/default.png");
  list();
  EXPECT_EQ(found(), (Names{"Swan", "Red Lion", "pub:43.74,7.44"}));
  EXPECT_TRUE(added().empty());
  EXPECT_EQ(p.state.category, "pub");
  EXPECT_EQ(p.f1.Text4.text(), "pub");
  EXPECT_EQ(p.state.gpxpath, gpxOf("pub"));
  EXPECT_FALSE(files::exists(gpxFolder + "/pub"));
  EXPECT_EQ(p.f1.Image1.resource(), ":/default.png");
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(CreateGpxTest, ListingRunShowsTheIconBesideTheGpx) {
  folder.write("gpx/pub/pub.bmp", "BM");
  list();
  EXPECT_EQ(p.f1.Image1.file(), gpxFolder + "/pub/pub.bmp");
}

TEST_F(CreateGpxTest, WithoutASelectionSaysPleaseSelectAndChangesNothing) {
  list();
  p.f1.List1(2).setSelectedIndex(-1);
  p.f1.Text4.setText("before");
  list();
  write();
  EXPECT_EQ(machine.messageTexts(), (Names{"Please select", "Please select"}));
  EXPECT_EQ(p.state.category, "pub");
  EXPECT_EQ(p.f1.Text4.text(), "before");
  EXPECT_EQ(found().size(), 3u);
  EXPECT_FALSE(files::exists(gpxFolder + "/pub"));
}

TEST_F(CreateGpxTest, BlanksAreRemovedFromTheCategory) {
  load(osm(node("1", "1", "2", {{"amenity", "fast food"}, {"name", "A"}}) +
           node("2", "3", "4", {{"amenity", "xfastfoodx"}, {"name", "B"}})));
  choose(" fast food ");
  list();
  EXPECT_EQ(p.state.category, "fastfood");
  EXPECT_EQ(p.f1.Text4.text(), "fastfood");
  EXPECT_EQ(found(), Names{"B"});
}

TEST_F(CreateGpxTest, WritingRunCreatesTheCompleteDocument) {
  write();
  EXPECT_EQ(added(), (Names{"Swan", "Red Lion", "pub:43.74,7.44"}));
  EXPECT_EQ(slurp(gpxOf("pub")), head() + swanBlock + redLionBlock + namelessBlock + "</gpx>\r\n");
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_FALSE(machine.busyPointer());
  EXPECT_FALSE(p.state.merging);
}

TEST_F(CreateGpxTest, WritingRunWithNoRecordStillWritesAWholeDocument) {
  choose("bar");
  write();
  EXPECT_TRUE(added().empty());
  EXPECT_EQ(slurp(gpxOf("bar")), head() + "</gpx>\r\n");
}

TEST_F(CreateGpxTest, SecondRunAddsNothingAndKeepsTheOldBody) {
  write();
  const std::string first = slurp(gpxOf("pub"));
  write();
  EXPECT_TRUE(added().empty());
  EXPECT_EQ(found().size(), 3u);
  EXPECT_TRUE(p.state.merging);
  // The old last line now ends in CR CR LF.
  const std::string body = first.substr(0, first.size() - std::string("\n</gpx>\r\n").size());
  EXPECT_EQ(slurp(gpxOf("pub")), body + "\r\n</gpx>\r\n");
  EXPECT_EQ(p.state.oldgpx, body);
  write();
  EXPECT_TRUE(added().empty());
  EXPECT_EQ(slurp(gpxOf("pub")), body + "\r\r\n</gpx>\r\n");
}

TEST_F(CreateGpxTest, ExtendingRunAddsOnlyNewPoisAfterTheOldBody) {
  write();
  const std::string first = slurp(gpxOf("pub"));
  load(pubs + node("5", "43.75", "7.45", {{"amenity", "pub"}, {"name", "Ship"}}) +
       node("6", "43.76", "7.46", {{"amenity", "pub"}, {"name", "Swan"}}));
  write();
  EXPECT_EQ(added(), Names{"Ship"});
  const std::string body = first.substr(0, first.size() - 9);
  EXPECT_EQ(slurp(gpxOf("pub")),
            body + "\r\n" + block("43.75", "7.45", "Ship") + "</gpx>\r\n");
}

TEST_F(CreateGpxTest, APoiMovedInTheOsmIsAddedAgainUnderItsName) {
  write();
  load(osm(node("1", "43.719", "7.41", {{"amenity", "pub"}, {"name", "Swan"}})));
  write();
  EXPECT_EQ(added(), Names{"Swan"});
}

TEST_F(CreateGpxTest, AnOldFileWithoutClosingLineIsLeftAlone) {
  const std::string broken = "<gpx>\r\n<wpt lat=\"1\" lon=\"2\">\r\n";
  folder.write("gpx/pub/pub.gpx", broken);
  write();
  EXPECT_EQ(machine.messageTexts(), Names{"Error merging file"});
  EXPECT_EQ(slurp(gpxOf("pub")), broken);
  EXPECT_TRUE(added().empty());
  EXPECT_FALSE(p.state.merging);
}

TEST_F(CreateGpxTest, TheLastClosingLineCountsAndWhatFollowsItGoes) {
  folder.write("gpx/pub/pub.gpx", "A</gpx>B\r\n</gpx> tail");
  choose("bar");  // no record: only the old body and the closing line
  folder.write("gpx/bar/bar.gpx", "A</gpx>B\r\n</gpx> tail");
  write();
  EXPECT_EQ(slurp(gpxOf("bar")), "A</gpx>B\r\r\n</gpx>\r\n");
  folder.write("gpx/bar/bar.gpx", "</gpx>");
  write();
  EXPECT_EQ(slurp(gpxOf("bar")), "\r\n</gpx>\r\n");
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(CreateGpxTest, AFileThatCannotBeReplacedStaysAsItWas) {
  write();
  const std::string first = slurp(gpxOf("pub"));
  load(pubs + node("5", "43.75", "7.45", {{"amenity", "pub"}, {"name", "Ship"}}));
  ::chmod(gpxOf("pub").c_str(), 0444);
  write();
  EXPECT_EQ(machine.messageTexts(), Names{"Permission denied"});
  EXPECT_EQ(slurp(gpxOf("pub")), first);
  EXPECT_TRUE(added().empty());
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(CreateGpxTest, AFolderThatCannotBeMadeEndsTheRun) {
  const std::string notAFolder = folder.write("plain", "x");
  p.f1.Text1.setText(notAFolder);
  write();
  ASSERT_FALSE(machine.messages().empty());
  EXPECT_EQ(machine.messageTexts().back(), "Invalid filename:" + notAFolder + "/pub");
  EXPECT_EQ(slurp(notAFolder), "x");
  EXPECT_TRUE(found().empty());
}

TEST_F(CreateGpxTest, CategoryNamesCannotLeaveTheGpxFolder) {
  load(osm(node("1", "1", "2", {{"amenity", ".."}, {"name", "Up"}}) +
           node("2", "3", "4", {{"amenity", "a/b\\c"}, {"name", "Slash"}})));
  choose("..");
  write();
  EXPECT_EQ(added(), Names{"Up"});
  EXPECT_EQ(p.f1.Text4.text(), "__");
  EXPECT_EQ(p.state.gpxpath, gpxOf("__"));
  EXPECT_NE(slurp(gpxOf("__")).find("<name>Up</name>"), std::string::npos);
  EXPECT_FALSE(files::exists(folder / "...gpx"));
  choose("a/b\\c");
  write();
  EXPECT_EQ(added(), Names{"Slash"});
  EXPECT_EQ(p.state.category, "a/b\\c");
  EXPECT_NE(slurp(gpxOf("a_b_c")).find("<name>Slash</name>"), std::string::npos);
  EXPECT_FALSE(files::exists(gpxFolder + "/a"));
}

TEST_F(CreateGpxTest, SoundLinkFollowsTheFormatButtons) {
  p.f1.Check1.setValue(1);
  p.f1.Opt(1).setValue(false);
  p.f1.Opt(0).setValue(true);
  write();
  const std::string link = "   <link href=\"file://" + gpxFolder + "/pub/pub";
  EXPECT_EQ(p.state.soundlink, "file://" + gpxFolder + "/pub/pub.wav");
  EXPECT_NE(slurp(gpxOf("pub")).find("   <desc></desc>\r\n" + link + ".wav\" />\r\n"),
            std::string::npos);
  p.f1.Opt(0).setValue(false);
  p.f1.Opt(1).setValue(true);
  write();
  EXPECT_EQ(p.state.soundlink, "file://" + gpxFolder + "/pub/pub.mp3");
  p.f1.Opt(1).setValue(false);
  write();
  EXPECT_EQ(p.state.soundlink, "file://" + gpxFolder + "/pub/pub");
}

TEST_F(CreateGpxTest, AlertValuesComeFromTheBoxes) {
  p.f1.Check2.setValue(1);
  p.f1.Text3(0).setText("50.5");
  p.f1.Text3(1).setText("  -12m");
  write();
  EXPECT_EQ(p.state.speed, 50);
  EXPECT_EQ(p.state.proximity, -12);
  EXPECT_NE(slurp(gpxOf("pub")).find("  <gpxx:Proximity>-12</gpxx:Proximity>\r\n"),
            std::string::npos);
}

TEST_F(CreateGpxTest, AnOverflowingBoxIsReportedAndKeepsThePreviousValue) {
  p.state.speed = 3;
  p.state.proximity = 44;
  p.f1.Text3(0).setText("99999");
  p.f1.Text3(1).setText("32768");
  write();
  EXPECT_EQ(machine.messageTexts(), (Names{"Overflow", "Overflow"}));
  EXPECT_EQ(p.state.speed, 3);
  EXPECT_EQ(p.state.proximity, 44);
  EXPECT_EQ(slurp(gpxOf("pub")),
            head() + block("43.71", "7.41", "Swan", 44) + block("43.73", "7.43", "Red Lion", 44) +
                block("43.74", "7.44", "pub:43.74,7.44", 44) + "</gpx>\r\n");
}

TEST_F(CreateGpxTest, WithoutTheCreateButtonsRequestBlocksFollowTheFileAsItIs) {
  folder.write("gpx/pub/pub.gpx", "old</gpx>\r\n");
  p.state.addmode = false;
  gpx::create_gpx(p, true);
  EXPECT_EQ(slurp(gpxOf("pub")),
            "old</gpx>\r\n" + swanBlock + redLionBlock + namelessBlock + "</gpx>\r\n");
}

TEST_F(CreateGpxTest, ACategoryPressDuringAWritingRunIsIgnored) {
  int presses = 0;
  machine.duringYield([&] {
    EXPECT_TRUE(p.f1.operationInProgress());
    p.f1.List1(2).setSelectedIndex(0);  // "cafe"
    gpx::create_gpx(p, false);
    ++presses;
  });
  write();
  machine.duringYield(nullptr);
  EXPECT_GT(presses, 0);
  EXPECT_EQ(p.state.category, "pub");
  EXPECT_EQ(p.state.gpxpath, gpxOf("pub"));
  EXPECT_EQ(found(), (Names{"Swan", "Red Lion", "pub:43.74,7.44"}));
  EXPECT_EQ(slurp(gpxOf("pub")), head() + swanBlock + redLionBlock + namelessBlock + "</gpx>\r\n");
  EXPECT_FALSE(files::exists(gpxFolder + "/cafe"));
  EXPECT_FALSE(p.f1.operationInProgress());
  list();
  EXPECT_EQ(found(), Names{"Moka"});
}

TEST_F(CreateGpxTest, NothingHappensWhileAnotherOperationIsInProgress) {
  {
    app::f1::Operation loading(p.f1, app::f1::Operation::Kind::Load);
    p.f1.List1(2).setSelectedIndex(-1);
    list();
    write();
  }
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_TRUE(found().empty());
  EXPECT_EQ(p.state.category, "");
}

TEST_F(CreateGpxTest, BusyPointerPerChunkAndProgressToTheEnd) {
  std::vector<std::optional<double>> reported;
  machine.onProgress([&](std::optional<double> fraction) { reported.push_back(fraction); });
  p.state.chunks.chunkmax = 3;  // bookkeeping only: the text is short
  const int before = machine.busyChanges();
  list();
  EXPECT_EQ(machine.busyChanges() - before, 4 + 1);
  EXPECT_FALSE(machine.busyPointer());
  ASSERT_GE(reported.size(), 2u);
  EXPECT_EQ(reported.back(), std::nullopt);
  EXPECT_EQ(reported[reported.size() - 2], 1.0);
  for (size_t i = 1; i + 1 < reported.size(); ++i) EXPECT_LE(*reported[i - 1], *reported[i]);
}

TEST_F(CreateGpxTest, ARecordAcrossAChunkBoundaryIsTakenWhole) {
  std::string text(static_cast<size_t>(app::chunkSize) - 40, ' ');
  text += node("1", "43.71", "7.41", {{"amenity", "pub"}, {"name", "Straddler"}});
  text += node("2", "43.72", "7.42", {{"amenity", "pub"}, {"name", "After"}});
  load(text);
  ASSERT_EQ(p.state.chunks.chunkmax, 1);
  write();
  EXPECT_EQ(added(), (Names{"Straddler", "After"}));
  EXPECT_EQ(slurp(gpxOf("pub")), head() + block("43.71", "7.41", "Straddler") +
                                     block("43.72", "7.42", "After") + "</gpx>\r\n");
}

TEST_F(CreateGpxTest, ACrLfFileGivesTheSameGpxAsAnLfFile) {
  std::string crlf;
  for (char c : pubs) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  load(crlf);
  write();
  EXPECT_EQ(slurp(gpxOf("pub")), head() + swanBlock + redLionBlock + namelessBlock + "</gpx>\r\n");
}

TEST_F(CreateGpxTest, ADoubledSeparatorIsCollapsedInTheGpxPath) {
  p.f1.Text1.setText(gpxFolder + "/");
  write();
  EXPECT_EQ(p.state.gpxpath, gpxOf("pub"));
  EXPECT_EQ(added().size(), 3u);
  EXPECT_NE(slurp(gpxOf("pub")), "<missing>");
}

TEST_F(CreateGpxTest, TheWindowGetsTurnsWhileManyRecordsAreTaken) {
  std::string body;
  for (int i = 0; i < 5000; ++i) {
    const std::string id = std::to_string(i);
    body += node(id, "1." + id, "2", {{"amenity", "pub"}, {"name", "P" + id}});
  }
  load(osm(body));
  std::vector<int> listedAtYield;
  machine.duringYield([&] { listedAtYield.push_back(p.f1.List1(0).count()); });
  list();
  EXPECT_EQ(found().size(), 5000u);
  EXPECT_NE(std::find(listedAtYield.begin(), listedAtYield.end(), 4096), listedAtYield.end());
}

TEST_F(CreateGpxTest, SelectionTakesContainmentAndLeavesOutRef) {
  load(osm(node("1", "1", "1", {{"amenity", "pub"}, {"name", "Swan"}}) +
           node("2", "2", "2", {{"leisure", "park"}, {"name", "Public Garden"}}) +
           node("3", "3", "3", {{"amenity", "pub"}, {"ref", "7"}, {"name", "Refd"}}) +
           node("4", "4", "4", {{"amenity", "PUB"}, {"name", "Loud"}}) +
           node("5", "5", "5", {{"amenity", "pub"}, {"ref:x", "7"}, {"name", "RefX"}}) +
           node("6", "6", "6", {{"note", "Reformed"}, {"name", "Pub Lane"}})));
  list();
  EXPECT_EQ(found(), (Names{"Swan", "Public Garden", "Loud"}));
}

}  // namespace
}  // namespace waymint::testing
