#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "gpx/waypoint_details.h"
#include "gpx/waypoint_text.h"
#include "support/case_table.h"

namespace waymint::testing {
namespace {

using gpx::GpxEncoding;

TEST(WaypointText, ValuesBecomeTextsTheGpxCanHold) {
  const std::map<std::string, GpxEncoding> encodings = {
      {"utf8", GpxEncoding::Utf8}, {"1252", GpxEncoding::Windows1252}, {"ascii", GpxEncoding::Ascii}};
  for (const auto& c : caseTable("gpx/data/waypoint_texts.tsv", 3)) {
    EXPECT_EQ(gpx::gpxText(c[0], encodings.at(c[1])), c[2]) << c[0];
  }
  // Cut at the last whole character within the limit, counted in UTF-8.
  EXPECT_EQ(gpx::gpxText("ééé", GpxEncoding::Utf8, 5), "éé");
  EXPECT_EQ(gpx::gpxText("ééé", GpxEncoding::Windows1252, 5), "\xE9\xE9");
  EXPECT_EQ(gpx::gpxText(std::string(10000, 'x'), GpxEncoding::Utf8, 255), std::string(255, 'x'));
}

TEST(WaypointText, TheEncodingAGpxDeclares) {
  EXPECT_EQ(gpx::declaredEncoding("<?xml version=\"1.0\"  encoding=\"Windows-1252\" ?>"), GpxEncoding::Windows1252);
  EXPECT_EQ(gpx::declaredEncoding("<?xml version='1.0' encoding='utf-8'?><gpx>"), GpxEncoding::Utf8);
  EXPECT_EQ(gpx::declaredEncoding("<?xml version=\"1.0\"?><gpx encoding=\"x\">"), GpxEncoding::Utf8);
  EXPECT_EQ(gpx::declaredEncoding("<gpx>"), GpxEncoding::Utf8);
  EXPECT_EQ(gpx::declaredEncoding("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"), GpxEncoding::Ascii);
}

std::string record(const std::vector<std::pair<std::string, std::string>>& tags) {
  std::string text = "id=\"1\" lat=\"1\" lon=\"2\">\n";
  for (const auto& [k, v] : tags) text += "    <tag k=\"" + k + "\" v=\"" + v + "\"/>\n";
  return text + "  </node>";
}

std::vector<std::string> detailsOf(const std::vector<std::pair<std::string, std::string>>& tags) {
  const gpx::WaypointDetails d = gpx::detailsOf(record(tags), GpxEncoding::Utf8);
  return {d.street, d.city, d.phone, d.description};
}

TEST(WaypointDetails, AddressPhoneAndDescriptionFromTheTags) {
  for (const auto& c : caseTable("gpx/data/waypoint_details.tsv", 5)) {
    std::vector<std::pair<std::string, std::string>> tags;
    std::string list = c[0];
    std::replace(list.begin(), list.end(), '|', '\n');
    for (const std::string& tag : linesOf(list)) {
      tags.emplace_back(tag.substr(0, tag.find('=')), tag.substr(tag.find('=') + 1));
    }
    EXPECT_EQ(detailsOf(tags), std::vector(c.begin() + 1, c.end())) << record(tags);
  }
  EXPECT_EQ(detailsOf({{"addr:street", std::string(10000, 'x')}}),
            std::vector<std::string>({std::string(255, 'x'), "", "", ""}));
  const gpx::WaypointDetails all = gpx::detailsOf(
      record({{"addr:postcode", "98000"}, {"addr:state", "MC-X"}, {"addr:country", "MC"}}),
      GpxEncoding::Utf8);
  EXPECT_EQ(all.postalCode + "|" + all.state + "|" + all.country, "98000|MC-X|MC");
}

TEST(WaypointDetails, ANameFromBrandOrOperator) {
  EXPECT_EQ(gpx::brandOrOperator(record({{"operator", "City"}, {"brand", "Shell"}})), "Shell");
  EXPECT_EQ(gpx::brandOrOperator(record({{"operator", "City"}})), "City");
  EXPECT_EQ(gpx::brandOrOperator(record({{"amenity", "fuel"}})), "");
  EXPECT_TRUE(gpx::hasNameTag(record({{"name:en", "X"}})));
  EXPECT_FALSE(gpx::hasNameTag(record({{"old_name", "X"}})));
}

}  // namespace
}  // namespace waymint::testing
