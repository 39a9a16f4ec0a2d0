#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gpx/waypoint_details.h"
#include "gpx/waypoint_text.h"

namespace waymint::testing {
namespace {

using gpx::GpxEncoding;

TEST(WaypointText, ValuesBecomeTextsTheGpxCanHold) {
  struct Case { std::string value; GpxEncoding encoding; std::string text; };
  const std::vector<Case> cases = {
      {"Café Royal", GpxEncoding::Utf8, "Café Royal"},
      {"Café Royal", GpxEncoding::Windows1252, "Caf\xE9 Royal"},
      {"Café Royal", GpxEncoding::Ascii, "Caf&#xe9; Royal"},
      {"山 – €", GpxEncoding::Windows1252, "&#x5c71; \x96 \x80"},
      {"P&amp;P &lt;b&gt; &quot;x&quot; &apos;y&apos;", GpxEncoding::Utf8, "P&amp;P &lt;b&gt; \"x\" 'y'"},
      {"Caf&#233; Caf&#xE9;", GpxEncoding::Utf8, "Café Café"},
      // Markup the file should have escaped, and entities XML does not know, stay text.
      {"a < b & c > d &nbsp; &#xZZ; &", GpxEncoding::Utf8, "a &lt; b &amp; c &gt; d &amp;nbsp; &amp;#xZZ; &amp;"},
      // Control characters, raw or referred to, and blanks in a row become one blank.
      {"  a\tb\r\nc&#xA;d&#1;e\x7F" "f  ", GpxEncoding::Utf8, "a b c d e f"},
      {"x&#0;y", GpxEncoding::Utf8, "x y"},
      // Bytes that begin no UTF-8 character, overlong forms and surrogates.
      {"a\xFF" "b\xC3" "c\xC0\xAF" "d\xED\xA0\x80", GpxEncoding::Utf8, "a_b_c__d___"},
      {"", GpxEncoding::Utf8, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(gpx::gpxText(c.value, c.encoding), c.text) << c.value;
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

TEST(WaypointDetails, AddressPhoneAndDescriptionFromTheTags) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> tags;
    std::string street, city, phone, description;
  };
  const std::vector<Case> cases = {
      {{{"addr:street", "Rue Grimaldi"}, {"addr:housenumber", "12"}}, "Rue Grimaldi 12", "", "", ""},
      {{{"addr:street", "Baker Street"}, {"addr:housenumber", "221b"}, {"addr:country", "GB"}},
       "221b Baker Street", "", "", ""},
      {{{"addr:country", "fr"}, {"addr:housenumber", "5"}, {"addr:street", "Rue X"}}, "5 Rue X", "", "", ""},
      {{{"addr:country", "DE"}, {"addr:housenumber", "5"}, {"addr:street", "Hauptstraße"}},
       "Hauptstraße 5", "", "", ""},
      {{{"addr:full", "1 Main St, Springfield"}, {"addr:street", "Main St"}}, "1 Main St, Springfield", "", "", ""},
      {{{"addr:housenumber", "7"}}, "7", "", "", ""},
      {{{"addr:place", "Gaflei"}}, "", "Gaflei", "", ""},
      {{{"addr:place", "Gaflei"}, {"addr:city", "Triesenberg"}}, "", "Triesenberg", "", ""},
      {{{"phone", "+377 1; +377 2;+377 3"}}, "", "", "+377 1", "Phone: +377 2;+377 3"},
      {{{"contact:phone", "+423 1"}}, "", "", "+423 1", ""},
      {{{"opening_hours", "Mo-Fr 08:00-18:00"}, {"contact:website", "https://a.example/?a=1&amp;b=2"}},
       "", "", "", "Opening hours: Mo-Fr 08:00-18:00 | Website: https://a.example/?a=1&amp;b=2"},
      {{{"addr:street", "&lt;b&gt;Bold&lt;/b&gt; &amp; Co"}, {"phone", "1&#xA;2"}},
       "&lt;b&gt;Bold&lt;/b&gt; &amp; Co", "", "1 2", ""},
      {{{"addr:street", std::string(10000, 'x')}}, std::string(255, 'x'), "", "", ""},
  };
  for (const Case& c : cases) {
    const gpx::WaypointDetails details = gpx::detailsOf(record(c.tags), GpxEncoding::Utf8);
    EXPECT_EQ(details.street, c.street) << record(c.tags);
    EXPECT_EQ(details.city, c.city) << record(c.tags);
    EXPECT_EQ(details.phone, c.phone) << record(c.tags);
    EXPECT_EQ(details.description, c.description) << record(c.tags);
  }
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
