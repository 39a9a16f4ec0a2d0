// The choices on the project's real extracts, through the tool as a user runs it, checked
// against what osmium-tool and gpsbabel make of the same files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/case_table.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

TEST(RealExtracts, EveryCarParkOsmiumFindsIsListedWithAreasAndExactCategories) {
  if (!onPath("osmium")) GTEST_SKIP() << "osmium-tool is not installed";
  TempFolder folder;
  const std::string liechtenstein = unpackedExtract("liechtenstein-2013-08-03.osm");
  const std::string parking = folder / "parking.osm";
  const std::string features = folder / "parking.geojsonseq";
  ASSERT_EQ(runProgram({"osmium", "tags-filter", liechtenstein, "amenity=parking", "-o", parking}).status, 0);
  ASSERT_EQ(runProgram({"osmium", "export", parking, "-f", "geojsonseq", "-o", features}).status, 0);
  size_t nodes = 0, areas = 0;
  for (const std::string& feature : linesOf(slurp(features))) {
    if (feature.find("\"amenity\":\"parking\"") == std::string::npos) continue;
    nodes += feature.find("\"type\":\"Point\"") != std::string::npos;
    areas += feature.find("\"type\":\"MultiPolygon\"") != std::string::npos;
  }
  EXPECT_EQ(nodes, 36U);
  EXPECT_EQ(areas, 91U);
  const Finished listed = runTool({"list", liechtenstein, "parking", "--areas", "--exact"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.err, "");
  EXPECT_EQ(linesOf(listed.out).size(), nodes + areas);
  // Each choice alone: areas bring the car parks drawn as areas, exact categories the ones
  // whose names repeat; without them, the list is what it always was.
  EXPECT_EQ(linesOf(runTool({"list", liechtenstein, "parking"}).out).size(), 35U);
  EXPECT_EQ(linesOf(runTool({"list", liechtenstein, "parking", "--exact"}).out).size(), nodes);
  EXPECT_GT(linesOf(runTool({"list", liechtenstein, "parking", "--areas"}).out).size(), 35U + 50U);
}

TEST(RealExtracts, ARestaurantsAddressAndPhoneReachTheGpxAndGpsbabel) {
  TempFolder folder;
  const std::string monaco = unpackedExtract("monaco.osm");
  const Finished written = runTool(
      {"write", monaco, "restaurant", "--details", "--gpx-folder", folder / "gpx"});
  ASSERT_EQ(written.status, 0) << written.err;
  const std::string gpx = folder / "gpx/restaurant/restaurant.gpx";
  const std::string text = slurp(gpx);
  const size_t at = text.find("<name>Wine O Clock</name>");
  ASSERT_NE(at, std::string::npos);
  const std::string block = text.substr(at, text.find("</wpt>", at) - at);
  EXPECT_NE(block.find(" <gpxx:StreetAddress>Avenue saint laurent 3</gpxx:StreetAddress>\r\n"),
            std::string::npos) << block;
  EXPECT_NE(block.find(" <gpxx:PhoneNumber>+33 7 97 97 57 44</gpxx:PhoneNumber>\r\n"),
            std::string::npos) << block;
  EXPECT_EQ(runProgram({"xmllint", "--noout", "--schema", testDataPath("xsd/gpx-with-garmin.xsd"), gpx}).status, 0);
  if (!onPath("gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
  const Finished read = runProgram({"gpsbabel", "-i", "gpx", "-f", gpx, "-o", "unicsv", "-F", "-"});
  ASSERT_EQ(read.status, 0) << read.err;
  const auto lines = linesOf(read.out);
  EXPECT_NE(lines.front().find(",Address,City,PostalCode,Phone"), std::string::npos) << lines.front();
  const auto row = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("\"Wine O Clock\"") != std::string::npos;
  });
  ASSERT_NE(row, lines.end());
  EXPECT_NE(row->find(",\"Avenue saint laurent 3\","), std::string::npos) << *row;
  EXPECT_NE(row->find(",\"+33 7 97 97 57 44\""), std::string::npos) << *row;
}

}  // namespace
}  // namespace waymint::testing
