// waymint-cli write --gpi and send: GPI files beside the GPX files, then onto a fake navigator,
// and gpsbabel reads each back to the waypoints of its GPX.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "gpi/gpi_test_files.h"
#include "support/osm_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

using Rows = std::vector<std::map<std::string, std::string>>;

std::string column(const std::map<std::string, std::string>& row, const std::string& name) {
  const auto found = row.find(name);
  return found == row.end() ? std::string() : found->second;
}

// A waypoint gpsbabel read, as far as a GPI holds it: name, proximity, address and phone;
// position.
struct ReadWaypoint {
  std::string texts;
  double lat, lon;
  bool operator<(const ReadWaypoint& other) const {
    return std::tie(texts, lat, lon) < std::tie(other.texts, other.lat, other.lon);
  }
};

std::vector<ReadWaypoint> waypointsOf(const Rows& rows) {
  std::vector<ReadWaypoint> waypoints;
  for (const auto& row : rows) {
    std::string texts = column(row, "Name");
    for (const char* field : {"Proximity", "Address", "City", "PostalCode", "Phone"}) {
      texts += std::string("|") + column(row, field);
    }
    waypoints.push_back(
        {texts, std::stod(column(row, "Latitude")), std::stod(column(row, "Longitude"))});
  }
  std::sort(waypoints.begin(), waypoints.end());
  return waypoints;
}

// The same waypoints, positions within 1e-6 degrees (gpsbabel prints six decimals).
void expectSameWaypoints(const std::vector<ReadWaypoint>& read,
                         const std::vector<ReadWaypoint>& expected) {
  ASSERT_EQ(read.size(), expected.size());
  for (size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].texts, expected[i].texts);
    EXPECT_NEAR(read[i].lat, expected[i].lat, 1.01e-6) << expected[i].texts;
    EXPECT_NEAR(read[i].lon, expected[i].lon, 1.01e-6) << expected[i].texts;
  }
}

TEST(WriteGpiAndSend, MonacoOntoAFakeNavigatorReadBackByGpsbabelAsItsGpx) {
  TempFolder folder;
  const std::string gpx = folder / "G", device = folder / "D";
  folder.write("D/Garmin/GarminDevice.xml",
               "<?xml version=\"1.0\"?><Device><Model><Description>Drive 52</Description>"
               "</Model></Device>");
  const Finished written =
      runTool({"write", testDataPath("monaco.osm.pbf"), "cafe", "restaurant", "--gpx-folder", gpx,
               "--alert", "--proximity", "50", "--details", "--gpi"});
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.err, "");
  EXPECT_EQ(written.out, "cafe\t21\t" + gpx + "/cafe/cafe.gpx\ncafe\t21\t" + gpx +
                             "/cafe/cafe.gpi\nrestaurant\t75\t" + gpx +
                             "/restaurant/restaurant.gpx\nrestaurant\t75\t" + gpx +
                             "/restaurant/restaurant.gpi\n");

  const Finished sent = runTool({"send", gpx, "--device", device});
  ASSERT_EQ(sent.status, 0) << sent.err;
  const std::string poi = device + "/Garmin/POI/";
  EXPECT_EQ(sent.out, "cafe\t21\t" + poi + "cafe.gpi\nrestaurant\t75\t" + poi + "restaurant.gpi\n");
  EXPECT_TRUE(sent.err.starts_with("waymint-cli: Sent to the navigator Drive 52 (" + device +
                                   "):\n" + poi + "cafe.gpi: 21 POIs\n" + poi +
                                   "restaurant.gpi: 75 POIs\n"))
      << sent.err;
  EXPECT_TRUE(sent.err.ends_with(" left on the navigator.\n")) << sent.err;

  for (const std::string category : {"cafe", "restaurant"}) {
    SCOPED_TRACE(category);
    const std::vector<ReadWaypoint> expected =
        waypointsOf(gpsbabelReads("gpx", gpx + "/" + category + "/" + category + ".gpx"));
    expectSameWaypoints(waypointsOf(gpsbabelReads(poi + category + ".gpi")), expected);
    EXPECT_EQ(expected.size(), category == std::string("cafe") ? 21u : 75u);
    EXPECT_EQ(slurp(poi + category + ".gpi"),
              slurp(gpx + "/" + category + "/" + category + ".gpi"));
  }
  // The alert and an address made it through.
  const Rows cafes = gpsbabelReads(poi + "cafe.gpi");
  EXPECT_TRUE(std::all_of(cafes.begin(), cafes.end(),
                          [](const auto& row) { return column(row, "Proximity") == "50"; }));
  EXPECT_TRUE(std::any_of(cafes.begin(), cafes.end(), [](const auto& row) {
    return column(row, "Address") == "Avenue Princesse Grace 10";
  }));
}

class SendTool : public ::testing::Test {
 protected:
  TempFolder folder;
  const std::string osm = folder.write(
      "map.osm", osmFile(osmNode("1", "43.7", "7.4", {{"amenity", "cafe"}, {"name", "Blue"}})));
  const std::string gpx = folder / "G";
  const std::string device = folder / "D";

  SendTool() { folder.write("D/Garmin/GarminDevice.xml", "not XML"); }
};

TEST_F(SendTool, AnIconNavigatorsCannotShowIsNamedWithItsReasonAndTheGpiStillWritten) {
  // A 48x48 PNG called cafe.bmp.
  const std::string icon = folder.write(
      "G/cafe/cafe.bmp", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x30", 24));
  const Finished written =
      runTool({"write", osm, "cafe", "--gpx-folder", gpx, "--gpi"});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "cafe\t1\t" + gpx + "/cafe/cafe.gpx\ncafe\t1\t" + gpx + "/cafe/cafe.gpi\n");
  EXPECT_EQ(written.err, "waymint-cli: cafe: " + icon +
                             " is not a BMP picture (it is a PNG picture): save it as a BMP with "
                             "8 bits per pixel. The GPI file shows the default icon.\n");
  const Finished sent = runTool({"send", gpx, "--device", device});
  EXPECT_EQ(sent.status, 0);
  EXPECT_NE(sent.err.find("\n" + icon + " is not a BMP picture (it is a PNG picture)"),
            std::string::npos)
      << sent.err;
  EXPECT_NE(sent.err.find("\n" + device +
                          "/Garmin/GarminDevice.xml is not an XML file: the navigator's model is "
                          "not known.\n"),
            std::string::npos)
      << sent.err;
}

TEST_F(SendTool, ExitStatusAndWhatEachStreamSays) {
  ASSERT_EQ(runTool({"write", osm, "cafe", "--gpx-folder", gpx}).status, 0);
  const std::string missing = folder / "missing";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out, err;
  };
  const std::vector<Case> cases = {
      {{"send", missing}, 2, "", "waymint-cli: cannot read " + missing + ": No such file or directory\n"},
      {{"send", osm}, 2, "", "waymint-cli: cannot read " + osm + ": Not a directory\n"},
      {{"send", gpx, "--device", missing}, 1, "", "waymint-cli: " + missing + " is not a folder.\n"},
      {{"send", gpx, "pub", "--device", device}, 1, "",
       "waymint-cli: " + gpx + " holds no pub/pub.gpx: pub was not sent.\n"},
      {{"send", folder / "D", "--device", device}, 1, "",
       "waymint-cli: " + folder / "D" +
           " holds no category folder with its GPX (<category>/<category>.gpx). Nothing was "
           "sent.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const Finished run = runTool(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
  // Without --gpi no GPI file is made.
  EXPECT_FALSE(std::filesystem::exists(gpx + "/cafe/cafe.gpi"));
}

}  // namespace
}  // namespace waymint::testing
