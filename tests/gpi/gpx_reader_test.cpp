#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gpi/code_page.h"
#include "gpi/gpx_waypoints.h"
#include "gpi/xml_text.h"
#include "support/case_table.h"

namespace waymint::testing {
namespace {

using gpi::CodePage;

constexpr std::string_view utf8Head =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">\n";

gpi::GpxWaypoints read(std::string_view body, std::string_view head = utf8Head) {
  return gpi::readGpxWaypoints(std::string(head) + std::string(body) + "</gpx>\n", "t.gpx");
}

std::string decoded(std::string text, CodePage page) {
  return std::string(gpi::decodeXmlText(text.data(), text.data() + text.size(), page));
}

CodePage pageNamed(const std::string& name) {
  return name == "1252" ? CodePage::Windows1252 : CodePage::Utf8;
}

TEST(XmlText, ReferencesCdataCommentsAndLineEndsDecodedInPlace) {
  for (const auto& c : caseTable("gpi/data/xml_text.tsv", 3)) {
    EXPECT_EQ(decoded(c[0], pageNamed(c[1])), c[2]) << c[0];
  }
}

TEST(CodePages, TrimSortCutAndConvert) {
  for (const auto& c : caseTable("gpi/data/code_pages.tsv", 4)) {
    SCOPED_TRACE(c[0] + " " + c[2]);
    const CodePage page = pageNamed(c[1]);
    if (c[0] == "sorts before") {
      EXPECT_TRUE(gpi::sortsBefore(c[2], c[3], page));
      EXPECT_FALSE(gpi::sortsBefore(c[3], c[2], page));
    } else {
      EXPECT_EQ(c[0] == "trimmed"     ? std::string(gpi::trimmed(c[2], page))
                : c[0] == "converted" ? gpi::convertText(c[2], page)
                                      : std::string(gpi::cutToCharacters(c[2], 3, page)),
                c[3]);
    }
  }
  EXPECT_FALSE(gpi::sortsBefore("same", "same", CodePage::Utf8));
}

TEST(GpxWaypoints, NamesAndDescriptionsOfEditedFiles) {
  std::string body;
  std::vector<std::pair<std::string, std::string>> expected, got;
  for (const auto& c : caseTable("gpi/data/gpx_names.tsv", 3)) {
    body += c[0] + "\n";
    if (c[1] != "(left out)") expected.emplace_back(c[1], c[2]);
  }
  const gpi::GpxWaypoints g = read(body);
  ASSERT_EQ(g.error, "");
  EXPECT_EQ(g.leftOut, 1u);
  for (const gpi::Waypoint& w : g.waypoints) got.emplace_back(w.name, w.description);
  EXPECT_EQ(got, expected);
}

TEST(GpxWaypoints, PositionsProximitiesAndExtensions) {
  for (const auto& c : caseTable("gpi/data/gpx_positions.tsv", 3)) {
    SCOPED_TRACE(c[0]);
    const gpi::GpxWaypoints g = read("<wpt " + c[0] + "><name>n</name></wpt>");
    ASSERT_EQ(g.error, "");
    ASSERT_EQ(g.waypoints.size(), c[1].empty() ? 0u : 1u);
    EXPECT_EQ(g.leftOut, c[1].empty() ? 1u : 0u);
    if (!c[1].empty()) {
      EXPECT_EQ(std::pair(g.waypoints[0].lat, g.waypoints[0].lon),
                std::pair(std::stod(c[1]), std::stod(c[2])));
    }
  }

  for (const auto& c : caseTable("gpi/data/proximities.tsv", 2)) {
    const gpi::GpxWaypoints g = read(
        "<wpt lat='1' lon='1'><name>n</name><extensions><gpxx:WaypointExtension>"
        "<gpxx:Proximity>" + c[0] + "</gpxx:Proximity></gpxx:WaypointExtension></extensions></wpt>");
    ASSERT_EQ(g.waypoints.size(), 1u);
    EXPECT_EQ(g.waypoints[0].proximity, std::stoi(c[1])) << c[0];
  }

  // Extensions are found by their local names, whatever the prefix; only in their places.
  const gpi::GpxWaypoints g =
      gpi::readGpxFile(std::string(WAYMINT_SOURCE_DIR) + "/tests/gpi/data/extensions.gpx");
  ASSERT_EQ(g.waypoints.size(), 1u);
  const gpi::Waypoint& w = g.waypoints[0];
  EXPECT_EQ(w.city, "K\xC3\xB6ln");
  EXPECT_EQ(w.postalCode, "5");
  EXPECT_EQ(w.street, "");
  EXPECT_EQ(w.phone, "2");
  EXPECT_EQ(w.proximity, 0);
}

// What the choice of details writes into a waypoint, as the GPI writer reads it back.
TEST(GpxWaypoints, TheDetailsTheProgramWrites) {
  const std::string path = std::string(WAYMINT_SOURCE_DIR) + "/tests/golden/all-choices/expected/gpx/cafe/cafe.gpx";
  const gpi::GpxWaypoints read = gpi::readGpxFile(path);
  ASSERT_EQ(read.error, "");
  ASSERT_EQ(read.waypoints.size(), 3U);
  const gpi::Waypoint& royal = read.waypoints[0];
  EXPECT_EQ(read.codePage, CodePage::Utf8);
  EXPECT_EQ(std::tuple(royal.name, royal.street, royal.city, royal.postalCode, royal.phone),
            std::tuple("Café Royal", "Rue Grimaldi 12", "Monaco", "98000", "+377 93 00 00 01"));
  EXPECT_EQ(std::tuple(read.waypoints[1].street, read.waypoints[1].country),
            std::tuple("221b Baker Street", "GB"));
  // An empty address is none.
  EXPECT_EQ(std::tuple(read.waypoints[2].street, read.waypoints[2].phone), std::tuple("", ""));
}

TEST(GpxWaypoints, DeclarationsAndWhatIsNoGpx) {
  for (const auto& c : caseTable("gpi/data/gpx_heads.tsv", 2)) {
    const gpi::GpxWaypoints g = gpi::readGpxWaypoints(c[0] + "<wpt lat='1' lon='2'/></gpx>", "t.gpx");
    EXPECT_EQ(g.error, "") << c[0];
    EXPECT_EQ(g.codePage, pageNamed(c[1])) << c[0];
    EXPECT_EQ(g.waypoints.size(), 1u) << c[0];
  }
  for (const auto& c : caseTable("gpi/data/gpx_refused.tsv", 2)) {
    const gpi::GpxWaypoints g = gpi::readGpxWaypoints(c[0], "t.gpx");
    EXPECT_EQ(g.error, c[1]) << c[0];
    EXPECT_TRUE(g.waypoints.empty());
  }
  EXPECT_EQ(gpi::readGpxFile("/no/such.gpx").error,
            "/no/such.gpx cannot be read: No such file or directory.");
}

}  // namespace
}  // namespace waymint::testing
