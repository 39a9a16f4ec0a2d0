#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gpx/gpx_document.h"
#include "platform/files.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using gpx::GpxDocument;
using gpx::WaypointOptions;

// The block lines that follow the proximity line, the same in every block.
const std::string blockEnd =
    " <gpxx:DisplayMode>SymbolAndName</gpxx:DisplayMode>\r\n"
    " <gpxx:Categories>\r\n"
    "   <gpxx:Category>Category1</gpxx:Category>\r\n"
    " </gpxx:Categories>\r\n"
    "  <gpxx:Address>\r\n"
    " <gpxx:StreetAddress>; </gpxx:StreetAddress>\r\n"
    "  <gpxx:City></gpxx:City>\r\n"
    "  <gpxx:State></gpxx:State>\r\n"
    " <gpxx:Country></gpxx:Country>\r\n"
    "<gpxx:PostalCode></gpxx:PostalCode>\r\n"
    " </gpxx:Address>\r\n"
    "</gpxx:WaypointExtension>\r\n"
    "</extensions>\r\n"
    "</wpt>";

TEST(GpxHead, IsTheSixLinesByteForByte) {
  EXPECT_EQ(gpx::gpxHead(),
            "<?xml version=\"1.0\"  encoding=\"Windows-1252\" standalone=\"no\" ?>\r\n"
            "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\""
            " xmlns:gpxx = \"http://www.garmin.com/xmlschemas/GpxExtensions/v3\""
            " creator=\"Veltrana\" version=\"1.1\""
            " xmlns:xsi = \"http://www.w3.org/2001/XMLSchema-instance\""
            " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1"
            " http://www.topografix.com/GPX/1/1/gpx.xsd"
            " http://www.garmin.com/xmlschemas/GpxExtensions/v3"
            " http://www.garmin.com/xmlschemas/GpxExtensions/v3/GpxExtensionsv3.xsd\">\r\n"
            "<metadata>\r\n"
            "    <link href=\"https://veltrana.example/osm\"><text>Free OSM tools for easy "
            "mapping.</text>\r\n"
            " </link>\r\n"
            "</metadata>");
}

TEST(WaypointBlock, WithAlertOnAndSoundOffHas21Lines) {
  WaypointOptions options;
  options.alert = true;
  options.proximity = 25;
  std::string block = gpx::waypointBlock("43.73", "7.42", "Chez Nous", options);
  EXPECT_EQ(block,
            "<wpt lat=\"43.73\" lon=\"7.42\">\r\n"
            "<name>Chez Nous</name>\r\n"
            "<cmt>This is Chez Nous</cmt>\r\n"
            "   <desc></desc>\r\n"
            "  <extensions>\r\n"
            " <gpxx:WaypointExtension>\r\n"
            "  <gpxx:Proximity>25</gpxx:Proximity>\r\n" +
                blockEnd);
}

TEST(WaypointBlock, WithAlertOffKeepsTheProximityInsideAComment) {
  WaypointOptions options;
  options.proximity = 25;
  std::string block = gpx::waypointBlock("1", "2", "x", options);
  EXPECT_NE(block.find("\r\n  <!--<gpxx:Proximity>25</gpxx:Proximity>-->\r\n"), std::string::npos);
  EXPECT_EQ(block.find("\r\n  <gpxx:Proximity>"), std::string::npos);
  options.alert = true;
  std::string on = gpx::waypointBlock("1", "2", "x", options);
  EXPECT_EQ(std::count(on.begin(), on.end(), '\n'), std::count(block.begin(), block.end(), '\n'));
}

TEST(WaypointBlock, WithSoundOnHasTheLinkLineAfterTheDescription) {
  WaypointOptions options;
  options.sound = true;
  options.alert = true;
  options.proximity = 0;
  options.soundlink = "file:///maps/pub/pub.wav";
  EXPECT_EQ(gpx::waypointBlock("43.73", "7.42", "Pub", options),
            "<wpt lat=\"43.73\" lon=\"7.42\">\r\n"
            "<name>Pub</name>\r\n"
            "<cmt>This is Pub</cmt>\r\n"
            "   <desc></desc>\r\n"
            "   <link href=\"file:///maps/pub/pub.wav\" />\r\n"
            "  <extensions>\r\n"
            " <gpxx:WaypointExtension>\r\n"
            "  <gpxx:Proximity>0</gpxx:Proximity>\r\n" +
                blockEnd);
}

TEST(WaypointBlock, NegativeProximityKeepsItsSign) {
  WaypointOptions options;
  options.proximity = -32768;
  EXPECT_NE(gpx::waypointBlock("1", "2", "x", options)
                .find("  <!--<gpxx:Proximity>-32768</gpxx:Proximity>-->\r\n"),
            std::string::npos);
}

TEST(WaypointBlock, NamesPassUnescaped) {
  std::string block = gpx::waypointBlock("1", "2", "Fish &amp; Chips &#233;", {});
  EXPECT_NE(block.find("<name>Fish &amp; Chips &#233;</name>\r\n"
                       "<cmt>This is Fish &amp; Chips &#233;</cmt>"),
            std::string::npos);
}

TEST(WptLine, DropsCrFromLonAndGreaterThanCrPairs) {
  EXPECT_EQ(gpx::wptLine("43.7", "7.4\r"), "<wpt lat=\"43.7\" lon=\"7.4\">");
  EXPECT_EQ(gpx::wptLine("43.7>\r", "7.4"), "<wpt lat=\"43.7\" lon=\"7.4\">");
  EXPECT_EQ(gpx::wptLine("43.7>", "7.4"), "<wpt lat=\"43.7>\" lon=\"7.4\">");
  // One pass: a pair made by the removal stays.
  EXPECT_EQ(gpx::wptLine(">>\r\r", "1"), "<wpt lat=\">\r\" lon=\"1\">");
}

TEST(GpxDocumentBytes, ProcsaveEndsEveryTextWithCrLf) {
  GpxDocument document;
  EXPECT_FALSE(document.started());
  document.procsave("</gpx>");
  document.procsave("");
  EXPECT_TRUE(document.started());
  EXPECT_EQ(document.bytes(), "</gpx>\r\n\r\n");
}

TEST(GpxDocumentBytes, ExtendRemembersEveryWaypointPositionOfTheOldBody) {
  GpxDocument document;
  document.extend(
      "<gpx>\r\n<wpt lat=\"43.1\" lon=\"7.1\">\r\n</wpt>\r\n"
      "<wpt lat=\"-1\" lon=\"2>x\">\r\n<wpt lat=\"5\"  lon=\"6\">\r");
  EXPECT_EQ(document.bytes().substr(0, 7), "<gpx>\r\n");
  EXPECT_EQ(document.bytes().substr(document.bytes().size() - 3), "\r\r\n");
  EXPECT_TRUE(document.holds(gpx::wptLine("43.1", "7.1")));
  EXPECT_TRUE(document.holds(gpx::wptLine("-1", "2>x")));
  EXPECT_FALSE(document.holds(gpx::wptLine("43.1", "7.")));
  EXPECT_FALSE(document.holds(gpx::wptLine("43.", "7.1")));
  EXPECT_FALSE(document.holds(gpx::wptLine("7.1", "43.1")));
  EXPECT_FALSE(document.holds(gpx::wptLine("5", "6")));  // two blanks: not as written
}

TEST(GpxDocumentBytes, PositionsAreFoundWhereverTheyStand) {
  GpxDocument document;
  // Not only in a wpt tag, and also where "lat=" is part of a longer value.
  document.extend("<x lat=\"xlat=\" lon=\"5\"/> lat=\"1\" lon=\"2\"");
  EXPECT_TRUE(document.holds(gpx::wptLine("xlat=", "5")));
  EXPECT_TRUE(document.holds(gpx::wptLine("1", "2")));
  GpxDocument empty;
  EXPECT_FALSE(empty.holds(gpx::wptLine("1", "2")));
}

using WriterTest = ProgramTest;

TEST_F(WriterTest, AddgpxReadsTheBoxesAtTheTimeOfTheCall) {
  app::Program& p = start();
  p.f1.Check1.setValue(1);
  p.f1.Check2.setValue(2);  // greyed counts as off
  p.state.proximity = -7;
  p.state.soundlink = "file:///s.mp3";
  GpxDocument document;
  gpx::addgpx(p, document, "1", "2\r", "N");
  p.f1.Check1.setValue(0);
  p.f1.Check2.setValue(1);
  p.state.proximity = 9;
  gpx::addgpx(p, document, "3", "4", "M");
  WaypointOptions first;
  first.sound = true;
  first.proximity = -7;
  first.soundlink = "file:///s.mp3";
  WaypointOptions second;
  second.alert = true;
  second.proximity = 9;
  EXPECT_EQ(document.bytes(), gpx::waypointBlock("1", "2", "N", first) + "\r\n" +
                                  gpx::waypointBlock("3", "4", "M", second) + "\r\n");
}

TEST_F(WriterTest, InitgpxMakesTheCategoryFolderAndPutsTheHead) {
  GpxDocument document;
  gpx::initgpx(document, folder / "pub");
  EXPECT_TRUE(platform::files::isFolder(folder / "pub"));
  EXPECT_EQ(document.bytes(), gpx::gpxHead() + "\r\n");
  // A name that is already there, folder or file, is left alone.
  folder.write("cafe", "not a folder");
  GpxDocument again;
  gpx::initgpx(again, folder / "cafe");
  EXPECT_EQ(slurp(folder / "cafe"), "not a folder");
}

TEST_F(WriterTest, InitgpxFailsWhenTheFolderCannotBeMade) {
  GpxDocument document;
  EXPECT_THROW(gpx::initgpx(document, folder / "missing/deeper/pub"), platform::files::IoError);
  EXPECT_FALSE(document.started());
}

}  // namespace
}  // namespace waymint::testing
