#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gpi/areas.h"
#include "gpi/category_gpi.h"
#include "gpi/gpi_encoder.h"
#include "gpi/gpi_test_files.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

class GoldenGpi : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenGpi, FileAsWrittenByHand) {
  const GoldenCase& c = GetParam();
  TempFolder folder;
  const std::string gpx = folder.write(c.name + ".gpx", slurp(goldenFile(c.name + "/input.gpx")));
  const gpi::GpiReport report =
      gpi::writeCategoryGpi(gpx, goldenFile(c.name + "/icon.bmp"), c.category, 0);
  EXPECT_EQ(report.error, "");
  EXPECT_TRUE(report.written);
  EXPECT_EQ(report.icon, gpi::IconUsed::Category);
  EXPECT_EQ(report.notes(), std::vector<std::string>());
  EXPECT_EQ(report.gpiPath, folder / (c.name + ".gpi"));
  const std::string expected = bytesFromHex(slurp(goldenFile(c.name + "/expected.hex")));
  expectSameBytes(slurp(report.gpiPath), expected);
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenGpi, ::testing::ValuesIn(goldenCases), caseName);

TEST(WriteCategoryGpi, ReportsIconsLeftOutAndCutWaypointsAndRefusals) {
  TempFolder folder;
  const std::string longName = std::string(65534, 'n') + "\xC3\xA9";  // 65536 bytes
  const std::string gpx =
      folder.write("cafe/cafe.gpx", gpxOf({{"1", "2", longName}, {"x", "2", "a"}, {"1", "3", "b"}}));
  const std::string png = folder.write("cafe/cafe.bmp", "\x89PNG\r\n\x1A\n");
  gpi::GpiReport report = gpi::writeCategoryGpi(gpx, png, "cafe", 7);
  ASSERT_TRUE(report.written) << report.error;
  EXPECT_EQ(report.pois, 2u);
  EXPECT_EQ(report.icon, gpi::IconUsed::DefaultRejected);
  EXPECT_EQ(report.iconCheck.problem, gpi::IconProblem::NotBmp);
  const std::string gpi = folder / "cafe/cafe.gpi";
  EXPECT_EQ(
      report.notes(),
      std::vector<std::string>(
          {png + " is not a BMP picture (it is a PNG picture): save it as a BMP with 8 bits per "
                 "pixel. The GPI file shows the default icon.",
           gpi + ": 1 waypoint without a valid position left out.",
           gpi + ": the texts of 1 waypoint cut to 65535 bytes, the most a GPI file holds."}));
  const std::string written = slurp(gpi);
  // The long name cut to 65534 bytes: the 65535th would split the last character.
  const std::string cutName = bytesFromHex("02 00 01 00 \"EN\" FE FF 6E*65534 04 00 00 00 02 00");
  EXPECT_NE(written.find(cutName), std::string::npos);
  EXPECT_NE(written.find(gpi::defaultBitmap().pixels), std::string::npos);
  EXPECT_EQ(written.substr(16, 4), std::string("\x07\0\0\0", 4));

  report = gpi::writeCategoryGpi(gpx, folder / "cafe/none.bmp", "cafe", 8);
  EXPECT_EQ(report.icon, gpi::IconUsed::DefaultNoIcon);
  EXPECT_EQ(slurp(gpi).substr(16, 4), std::string("\x08\0\0\0", 4));  // replaced

  for (const auto& c : caseTable("gpi/data/refused_gpx.tsv", 3)) {
    const std::string path = c[1] == "-" ? folder / c[0] : folder.write(c[0], c[1]);
    report = gpi::writeCategoryGpi(path, "", "x", 0);
    EXPECT_FALSE(report.written);
    EXPECT_EQ(report.error, path + c[2]);
    EXPECT_EQ(slurp(gpi::gpiPathFor(path)), "<missing>");
  }

  // What is not a regular file is not replaced.
  const std::string blocked = folder.write("pub/pub.gpi/keep", "k");
  report = gpi::writeCategoryGpi(folder.write("pub/pub.gpx", slurp(gpx)), "", "pub", 9);
  EXPECT_FALSE(report.written);
  EXPECT_TRUE(report.error.starts_with(folder / "pub/pub.gpi cannot be written: ")) << report.error;
  EXPECT_EQ(slurp(blocked), "k");
}

TEST(WriteCategoryGpi, PathsAndCreationTimes) {
  EXPECT_EQ(gpi::gpiPathFor("/g/cafe/cafe.gpx"), "/g/cafe/cafe.gpi");
  EXPECT_EQ(gpi::gpiPathFor("/g/A.GPX"), "/g/A.gpi");
  EXPECT_EQ(gpi::gpiPathFor("/g/notes"), "/g/notes.gpi");

  EXPECT_EQ(gpi::garminTime(631065600), 0u);
  EXPECT_EQ(gpi::garminTime(1796602251), 0x4578AD8Bu);  // as gpsbabel wrote at that moment
  EXPECT_EQ(gpi::garminTime(0), 0u);
  EXPECT_EQ(gpi::garminTime(631065600 + 0x1FFFFFFFFLL), 0xFFFFFFFFu);

  // Never the same time twice, never earlier, even when the clock stands or goes back.
  const std::uint32_t first = gpi::freshCreationTime(1796602251);
  EXPECT_GE(first, 0x4578AD8Bu);
  EXPECT_EQ(gpi::freshCreationTime(1796602251), first + 1);
  EXPECT_EQ(gpi::freshCreationTime(1796602000), first + 2);
  EXPECT_EQ(gpi::freshCreationTime(1796612251), 0x4578AD8Bu + 10000);
  EXPECT_GT(gpi::freshCreationTime(), 0x4578AD8Bu + 10000);
}

TEST(Areas, AtMost128PoisEachExceptAtOnePlace) {
  std::vector<gpi::Waypoint> waypoints(300);
  std::vector<std::uint32_t> order(300);
  for (std::uint32_t i = 0; i < 300; ++i) order[i] = i;
  EXPECT_EQ(gpi::splitIntoAreas(waypoints, order).size(), 1u);  // all at 0,0

  // 70 north-east of the mean, 70 south-west, 10 on it: the mean belongs to north and east.
  for (size_t i = 0; i < 150; ++i) {
    waypoints[i].lat = waypoints[i].lon = i < 70 ? 1 : i < 140 ? -1 : 0;
  }
  std::vector<std::uint32_t> some(order.begin(), order.begin() + 150);
  std::reverse(some.begin(), some.end());
  const std::vector<gpi::AreaRange> areas = gpi::splitIntoAreas(waypoints, some);
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_EQ(areas[0].end - areas[0].begin, 80u);
  EXPECT_EQ(areas[1].end - areas[1].begin, 70u);
  EXPECT_EQ(std::pair(some[0], some[10]), std::pair(149u, 69u));  // the order kept within an area
  EXPECT_EQ(some[80], 139u);
}

}  // namespace
}  // namespace waymint::testing
