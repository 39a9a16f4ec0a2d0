// Our GPI files against an independent program: gpsbabel (1.8) reads each back to the
// waypoints of its GPX, and for the same input writes the same bytes (its clock frozen, ours
// given 0), except where its known icon faults make it differ; docs/GPI.md lists the choices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "gpi/category_gpi.h"
#include "gpi/gpi_test_files.h"
#include "gpi/icon.h"
#include "osm/text_search.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

constexpr std::uint32_t magenta = 0xFF00FF, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;

std::uint32_t u32At(const std::string& bytes, size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void setU32(std::string& bytes, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// Where the icon record of a file we wrote starts: after the two headers (30 + 20 bytes) and
// the group's own part.
constexpr size_t groupAt = 50;
size_t iconAt(const std::string& gpi) { return groupAt + 12 + u32At(gpi, groupAt + 8); }

// gpsbabel 1.8 writes an 8-bit icon's palette with only the BMP's entries but counts 256.
std::string withShortPalette(std::string gpi, size_t entries) {
  const size_t icon = iconAt(gpi);
  const size_t dropped = (256 - entries) * 4;
  gpi.erase(icon + 8 + 36 + u32At(gpi, icon + 20) + entries * 4, dropped);
  setU32(gpi, icon + 4, u32At(gpi, icon + 4) - dropped);
  setU32(gpi, groupAt + 4, u32At(gpi, groupAt + 4) - dropped);
  return gpi;
}

// gpsbabel 1.8 writes a 24-bit pixel with green from 0x80 as blue, green, FF, FF.
std::string withGreenFault(std::string gpi) {
  const size_t pixels = iconAt(gpi) + 8 + 36;
  for (size_t at = pixels; at < pixels + u32At(gpi, iconAt(gpi) + 20); at += 4) {
    if (static_cast<unsigned char>(gpi[at + 1]) >= 0x80) gpi[at + 2] = gpi[at + 3] = '\xFF';
  }
  return gpi;
}

std::string ourGpi(const std::string& gpx, const std::string& icon, const std::string& category) {
  const gpi::GpiReport report = gpi::writeCategoryGpi(gpx, icon, category, 0);
  EXPECT_TRUE(report.written) << report.error;
  return slurp(report.gpiPath);
}

std::string gpsbabelGpi(const TempFolder& folder, const std::string& gpx,
                        const std::string& options) {
  const std::string out = folder / "gpsbabel.gpi";
  const Finished run =
      runGpsbabel({"-i", "gpx", "-f", gpx, "-o", "garmin_gpi," + options, "-F", out});
  EXPECT_EQ(run.status, 0) << run.err;
  return slurp(out);
}

// What gpsbabel reads from the file, compared with the waypoints the GPX holds.
void expectReadBack(const std::string& gpiPath, std::vector<TestWaypoint> expected) {
  std::vector<TestWaypoint> read;
  for (auto& row : gpsbabelReads(gpiPath)) {
    read.push_back({row["Latitude"], row["Longitude"], row["Name"], "", row["Proximity"],
                    row["Address"], row["City"], row["PostalCode"], row["Phone"]});
  }
  ASSERT_EQ(read.size(), expected.size());
  const auto before = [](const TestWaypoint& a, const TestWaypoint& b) {
    return std::tuple(a.name, std::stod(a.lat), std::stod(a.lon)) <
           std::tuple(b.name, std::stod(b.lat), std::stod(b.lon));
  };
  std::sort(read.begin(), read.end(), before);
  std::sort(expected.begin(), expected.end(), before);
  for (size_t i = 0; i < read.size(); ++i) {
    const TestWaypoint &w = expected[i], &r = read[i];
    SCOPED_TRACE(w.name);
    EXPECT_NEAR(std::stod(r.lat), std::stod(w.lat), 1e-6);
    EXPECT_NEAR(std::stod(r.lon), std::stod(w.lon), 1e-6);
    EXPECT_EQ(std::tuple(r.name, r.proximity, r.street, r.city, r.postalCode, r.phone),
              std::tuple(w.name, w.proximity, w.street, w.city, w.postalCode, w.phone));
  }
}

class GpsbabelOnGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GpsbabelOnGolden, ReadsItBackAndWritesTheHandWrittenBytes) {
  const GoldenCase& run = GetParam();
  TempFolder folder;
  const std::string gpx =
      folder.write(run.name + ".gpx", slurp(goldenFile(run.name + "/input.gpx")));
  ourGpi(gpx, goldenFile(run.name + "/icon.bmp"), run.category);
  std::vector<TestWaypoint> waypoints;
  for (const auto& w : caseTable("gpi/golden/" + run.name + "/read-back.tsv", 8)) {
    waypoints.push_back({w[0], w[1], w[2], "", w[3], w[4], w[5], w[6], w[7]});
  }
  expectReadBack(folder / (run.name + ".gpi"), waypoints);

  // gpsbabel writes the program's placeholder street "; " as the address ";": it gets the
  // GPX without it. It does not take a 24-bit icon to 8 bits: it gets the 8-bit one we make.
  const std::string plain = folder.write(
      "plain.gpx",
      osm::replaceAll(slurp(gpx), "<gpxx:StreetAddress>; </", "<gpxx:StreetAddress></"));
  std::string icon = goldenFile(run.name + "/icon.bmp");
  if (run.name == "program-1252-alert") {
    std::vector<std::uint32_t> palette{magenta, red, green, blue};
    palette.resize(256);
    icon = folder.write("icon8.bmp", bmpFile(BmpPicture{2, 2, 8, {0, 1, 2, 3}, palette}));
  }
  std::string expected = bytesFromHex(slurp(goldenFile(run.name + "/expected.hex")));
  if (run.name == "utf8-address-phone") expected = withShortPalette(expected, 4);
  expectSameBytes(
      gpsbabelGpi(folder, plain,
                  "category=" + run.category + ",unique=0,bitmap=" + icon + run.gpsbabelOptions),
      expected);
}

INSTANTIATE_TEST_SUITE_P(Golden, GpsbabelOnGolden, ::testing::ValuesIn(goldenCases), caseName);

// A position as GPX text, from ten-millionths of a degree.
std::string degrees(long tenMillionths) {
  const std::string digits = std::to_string(std::labs(tenMillionths) + 10000000);
  return (tenMillionths < 0 ? "-" : "") + std::to_string(std::labs(tenMillionths) / 10000000) +
         "." + digits.substr(digits.size() - 7);
}

TEST(GpsbabelWritesTheSame, TenThousandWaypointsInManyAreas) {
  std::mt19937 random(2024);
  const auto pick = [&](long low, long high) {
    return std::uniform_int_distribution<long>(low, high)(random);
  };
  const std::string names[] = {"Aldi", "Lidl", "Caf\xC3\xA9", "\xC3\x9C-Bahn", "Zoo",
                               "bar",  "Bar",  "\xE2\x82\xACuro", "P&P"};
  std::vector<TestWaypoint> waypoints;
  for (int i = 0; i < 10000; ++i) {
    TestWaypoint w{degrees(pick(-899999999, 899999999)), degrees(pick(-1799999999, 1799999999)),
                   names[pick(0, 8)] + (i % 2 ? std::to_string(pick(0, 40)) : ""),
                   i % 6 ? "c" + std::to_string(i) : "",
                   i % 4 == 0 ? std::to_string(pick(1, 999)) : ""};
    if (i % 5 == 0) w.street = "Main St & 2nd", w.city = "K\xC3\xB6ln", w.postalCode = "50667";
    if (i % 7 == 0) w.phone = "+49 221 " + std::to_string(i);
    if (i % 1000 == 0) w.lat = waypoints.empty() ? w.lat : waypoints.back().lat;  // some in line
    waypoints.push_back(w);
  }
  TempFolder folder;
  const std::string gpx = folder.write("big/big.gpx", gpxOf(waypoints));
  const std::string ours = ourGpi(gpx, "", "Big");
  EXPECT_GT(ours.size(), 500000u);
  const std::string icon = folder.write("default.bmp", "");
  gpi::writeDefaultIcon(icon);
  expectSameBytes(
      ours,
      gpsbabelGpi(folder, gpx, "category=Big,unique=0,alerts=1,writecodec=utf8,bitmap=" + icon));
  expectReadBack(folder / "big/big.gpi", waypoints);
}

// data/edited.gpx as another program left it, and more waypoints than an area holds, all at
// one place.
TEST(GpsbabelWritesTheSame, EditedFilesNamelessSymbolsEntitiesLongNamesOnePlace) {
  std::string gpx = slurp(std::string(WAYMINT_SOURCE_DIR) + "/tests/gpi/data/edited.gpx");
  std::vector<TestWaypoint> expected = {{"1", "2", "from the comment"},
                                        {"1", "3", "WPT202"},
                                        {"1", "4", "a <b> & c"},
                                        {"1", "5", std::string(1000, 'L')},
                                        {"1.5", "-2", "spaced"}};
  std::string atOnePlace;
  for (int i = 0; i < 200; ++i) {
    atOnePlace += "<wpt lat=\"10.5\" lon=\"20.25\"><name>n" + std::to_string(i) + "</name></wpt>\n";
    expected.push_back({"10.5", "20.25", "n" + std::to_string(i)});
  }
  TempFolder folder;
  gpx.insert(gpx.find("<wpt"), atOnePlace);
  const std::string path = folder.write("edited.gpx", gpx);
  const std::string icon = folder.write(
      "i.bmp", bmpFile(BmpPicture{1, 1, 8, {1}, std::vector<std::uint32_t>(256, red)}));
  expectSameBytes(
      ourGpi(path, icon, "Edited"),
      gpsbabelGpi(folder, path, "category=Edited,unique=0,writecodec=utf8,bitmap=" + icon));
  expectReadBack(folder / "edited.gpi", expected);
}

TEST(GpsbabelWritesTheSame, TrueColourIconsExceptItsGreenFault) {
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < 24 * 24; ++i)
    pixels.push_back(i * 0x010203 % 0x1000000);  // 576 colours
  TempFolder folder;
  const std::string icon = folder.write("i.bmp", bmpFile(BmpPicture{24, 24, 24, pixels, {}}));
  const std::string gpx = folder.write("c.gpx", gpxOf({{"1", "2", "x"}}));
  const std::string ours = ourGpi(gpx, icon, "C");
  EXPECT_EQ(u32At(ours, iconAt(ours) + 16) & 0xFFFF, 32u);  // 32 bits a pixel
  const std::string theirs =
      gpsbabelGpi(folder, gpx, "category=C,unique=0,writecodec=utf8,bitmap=" + icon);
  EXPECT_NE(ours, theirs);
  expectSameBytes(withGreenFault(ours), theirs);
}

}  // namespace
}  // namespace waymint::testing
