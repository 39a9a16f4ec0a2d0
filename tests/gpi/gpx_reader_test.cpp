#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gpi/code_page.h"
#include "gpi/gpx_waypoints.h"
#include "gpi/xml_text.h"

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

TEST(XmlText, ReferencesCdataCommentsAndLineEndsDecodedInPlace) {
  const std::tuple<std::string, CodePage, std::string> cases[] = {
      {"P&amp;P &lt;a&gt; &quot;q&quot; &apos;", CodePage::Utf8, "P&P <a> \"q\" '"},
      {"&#233;&#xE9;&#x416;&#x1F600;", CodePage::Utf8, "\xC3\xA9\xC3\xA9\xD0\x96\xF0\x9F\x98\x80"},
      {"&#233;&#x416;&#x20AC;", CodePage::Windows1252, "\xE9?\x80"},
      {"&nbsp; &#0; &#xD800; &#99999999; & &amp", CodePage::Utf8,
       "&nbsp; &#0; &#xD800; &#99999999; & &amp"},
      {"a<![CDATA[<b> & ]]>c<!-- x -->d<?pi?><i>e</i>", CodePage::Utf8, "a<b> & cde"},
      {"a\r\nb\rc\n", CodePage::Utf8, "a\nb\nc\n"},
      {"<![CDATA[open", CodePage::Utf8, "open"},
  };
  for (const auto& [raw, page, text] : cases) EXPECT_EQ(decoded(raw, page), text) << raw;
}

TEST(CodePages, TrimSortCutAndConvert) {
  EXPECT_EQ(gpi::trimmed(" \t\xC2\xA0"
                         "a b\xE3\x80\x80\r\n",
                         CodePage::Utf8),
            "a b");
  EXPECT_EQ(gpi::trimmed("\xA0\x85x\xA0", CodePage::Windows1252), "\x85x");  // 0x85 is "..."
  // UTF-16 order: U+1F600 (D83D DE00) before U+FF21; byte order elsewhere, case first.
  const std::tuple<std::string, std::string, CodePage> ordered[] = {
      {"10", "9", CodePage::Utf8},
      {"A", "a", CodePage::Utf8},
      {"Zz", "_x", CodePage::Utf8},
      {"a", "a.1", CodePage::Utf8},
      {"\xF0\x9F\x98\x80", "\xEF\xBC\xA1", CodePage::Utf8},
      {"\xC3\x89", "\xC3\xA9", CodePage::Utf8},
      {"\xA0", "\x9F", CodePage::Windows1252},  // U+00A0 before U+0178, against byte order
  };
  for (const auto& [a, b, page] : ordered) {
    EXPECT_TRUE(gpi::sortsBefore(a, b, page)) << a << " " << b;
    EXPECT_FALSE(gpi::sortsBefore(b, a, page)) << a << " " << b;
  }
  EXPECT_FALSE(gpi::sortsBefore("same", "same", CodePage::Utf8));

  EXPECT_EQ(gpi::cutToCharacters("ab\xC3\xA9", 3, CodePage::Utf8), "ab");
  EXPECT_EQ(gpi::cutToCharacters("ab\xE9z", 3, CodePage::Windows1252), "ab\xE9");
  EXPECT_EQ(gpi::cutToCharacters("abc", 3, CodePage::Utf8), "abc");

  EXPECT_EQ(gpi::convertText("L\xC3\xA4"
                             "den \xE2\x82\xAC \xD0\x96",
                             CodePage::Windows1252),
            "L\xE4"
            "den \x80 ?");
  EXPECT_EQ(gpi::convertText("L\xE4"
                             "den \x80",
                             CodePage::Utf8),
            "L\xC3\xA4"
            "den \xE2\x82\xAC");
  EXPECT_EQ(gpi::convertText("L\xE4"
                             "den",
                             CodePage::Windows1252),
            "L\xE4"
            "den");
}

TEST(GpxWaypoints, NamesAndDescriptionsOfEditedFiles) {
  const gpi::GpxWaypoints g = read(
      "<wpt lat='1' lon='1'><desc>only desc</desc></wpt>\n"
      "<wpt lat='1' lon='2'><sym>Flag</sym></wpt>\n"
      "<wpt lat='x' lon='3'/>\n"
      "<wpt lat='1' lon='4'><name>  </name><cmt>C4</cmt><desc>D4</desc></wpt>\n"
      "<wpt lat='1' lon='5'><name/></wpt>\n"
      "<wpt lat='1' lon='6'><name>\xC2\xA0n6 \r\n x\t</name><cmt> </cmt><desc>D6</desc></wpt>\n"
      "<wpt lat='1' lon='7'><name><![CDATA[a<7>]]></name><!-- <name>no</name> --></wpt>\n"
      "<wpt lat='1' lon='8'><name>first</name><name>last</name></wpt>\n"
      "<wpt lat='1' lon='9'><name>bad \xFF\xC3 utf</name></wpt>\n");
  ASSERT_EQ(g.error, "");
  EXPECT_EQ(g.leftOut, 1u);
  std::vector<std::pair<std::string_view, std::string_view>> got;
  for (const gpi::Waypoint& w : g.waypoints) got.emplace_back(w.name, w.description);
  const std::vector<std::pair<std::string_view, std::string_view>> expected = {
      {"only desc", "only desc"},
      {"WPT002", "WPT002"},
      {"C4", "C4"},
      {"WPT005", "WPT005"},
      {"n6 \n x", "D6"},
      {"a<7>", "a<7>"},
      {"last", "last"},
      {"bad ?? utf", "bad ?? utf"},
  };
  EXPECT_EQ(got, expected);
}

TEST(GpxWaypoints, PositionsProximitiesAndExtensions) {
  const std::tuple<std::string, std::optional<std::pair<double, double>>> positions[] = {
      {"lat=\"48.5\" lon=\"-7.25\"", std::pair(48.5, -7.25)},
      {"lon = '2' lat= ' +1.5 '", std::pair(1.5, 2.0)},
      {"lat=\"1e1\" lon=\"2E0\"", std::pair(10.0, 2.0)},
      {"lat=\"90\" lon=\"180\"", std::pair(90.0, 180.0)},
      {"lat=\"-90\" lon=\"-180\"", std::pair(-90.0, -180.0)},
      {"lat=\"90.000001\" lon=\"0\"", std::nullopt},
      {"lat=\"0\" lon=\"180.5\"", std::nullopt},
      {"lat=\"'43.5\" lon=\"7\"", std::nullopt},
      {"lat=\"\" lon=\"7\"", std::nullopt},
      {"lat=\"nan\" lon=\"7\"", std::nullopt},
      {"lon=\"7\"", std::nullopt},
      {"lat=\"1\" lon=\"7\" lat=\"2\"", std::pair(1.0, 7.0)},
  };
  for (const auto& [attributes, position] : positions) {
    const gpi::GpxWaypoints g = read("<wpt " + attributes + "><name>n</name></wpt>");
    ASSERT_EQ(g.error, "") << attributes;
    ASSERT_EQ(g.waypoints.size(), position ? 1u : 0u) << attributes;
    EXPECT_EQ(g.leftOut, position ? 0u : 1u);
    if (position) {
      EXPECT_EQ(std::pair(g.waypoints[0].lat, g.waypoints[0].lon), *position) << attributes;
    }
  }

  const std::pair<std::string_view, int> proximities[] = {
      {"25", 25}, {" 30 ", 30}, {"25.9", 25}, {"1e2", 100}, {"70000", 65535}, {"65535", 65535},
      {"0", 0},   {"0.4", 0},   {"-5", 0},    {"abc", 0},   {"", 0},
  };
  for (const auto& [text, metres] : proximities) {
    const gpi::GpxWaypoints g = read(
        "<wpt lat='1' lon='1'><name>n</name><extensions><gpxx:WaypointExtension>"
        "<gpxx:Proximity>" +
        std::string(text) +
        "</gpxx:Proximity>"
        "</gpxx:WaypointExtension></extensions></wpt>");
    ASSERT_EQ(g.waypoints.size(), 1u);
    EXPECT_EQ(g.waypoints[0].proximity, metres) << text;
  }

  // Extensions are found by their local names, whatever the prefix; only in their places.
  const gpi::GpxWaypoints g = read(
      "<wpt lat='1' lon='1'><name>n</name><extensions><x:WaypointExtension xmlns:x='v3'>"
      "<x:Address><x:City> K&#246;ln </x:City><x:StreetAddress/><x:PostalCode>5</x:PostalCode>"
      "</x:Address><x:PhoneNumber Category='Work'>1</x:PhoneNumber><x:PhoneNumber>2</x:PhoneNumber>"
      "<x:Categories><x:City>no</x:City></x:Categories></x:WaypointExtension>"
      "<other><Proximity>9</Proximity></other></extensions>"
      "<City>no</City></wpt>"
      "<rte><rtept lat='5' lon='5'><name>route</name></rtept></rte>"
      "<extensions><wpt lat='6' lon='6'><name>deep</name></wpt></extensions>");
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
  EXPECT_EQ(royal.name, "Café Royal");
  EXPECT_EQ(royal.street, "Rue Grimaldi 12");
  EXPECT_EQ(royal.city, "Monaco");
  EXPECT_EQ(royal.postalCode, "98000");
  EXPECT_EQ(royal.phone, "+377 93 00 00 01");
  EXPECT_EQ(read.waypoints[1].street, "221b Baker Street");
  EXPECT_EQ(read.waypoints[1].country, "GB");
  EXPECT_EQ(read.waypoints[2].street, "");  // an empty address is none
  EXPECT_EQ(read.waypoints[2].phone, "");
}

TEST(GpxWaypoints, DeclarationsAndWhatIsNoGpx) {
  const std::pair<std::string, std::optional<CodePage>> heads[] = {
      {"<gpx>", CodePage::Utf8},
      {"\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?><gpx>", CodePage::Utf8},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!DOCTYPE gpx [<!ENTITY e \"x\">]>\n<gpx>",
       CodePage::Windows1252},
      {"<?xml version=\"1.0\"  encoding=\"windows-1252\" standalone=\"no\" ?>\r\n<!-- c --><gpx>",
       CodePage::Windows1252},
  };
  for (const auto& [head, page] : heads) {
    const gpi::GpxWaypoints g =
        gpi::readGpxWaypoints(head + "<wpt lat='1' lon='2'/></gpx>", "t.gpx");
    EXPECT_EQ(g.error, "") << head;
    EXPECT_EQ(g.codePage, page) << head;
    EXPECT_EQ(g.waypoints.size(), 1u) << head;
  }

  const std::pair<std::string, std::string> refused[] = {
      {"", "t.gpx is not a GPX file."},
      {"\x89PNG\r\n\x1A\n<gpx>", "t.gpx is not a GPX file."},
      {"just text", "t.gpx is not a GPX file."},
      {"\xFF\xFE<\0g\0p\0x\0>\0", "t.gpx is not a GPX file."},
      {"<kml><wpt lat='1' lon='1'/></kml>", "t.gpx is not a GPX file."},
      {"<?xml version='1.0' encoding='ISO-8859-5'?><gpx/>",
       "t.gpx is written in ISO-8859-5; a GPI file is made from a UTF-8 or Windows-1252 GPX only."},
      {"<gpx>\n<wpt lat='1' lon='1'><name>a</wpt></gpx>",
       "t.gpx is not a well-formed GPX file (line 2: an end tag does not match its start tag)."},
      {"<gpx>\n<wpt lat='1' lon='1'><name>a</name>",
       "t.gpx is not a well-formed GPX file (line 2: the "
       "file ends before its elements are closed)."},
      {"<gpx>\n<wpt lat='1' lon='1' <name>a</name></wpt></gpx>",
       "t.gpx is not a well-formed GPX file (line 2: a tag is not closed)."},
      {"<gpx><!-- open", "t.gpx is not a well-formed GPX file (line 1: a comment is not closed)."},
      {"<gpx><name><![CDATA[x</name></gpx>",
       "t.gpx is not a well-formed GPX file (line 1: a CDATA section is not closed)."},
      {"<gpx>a < b</gpx>", "t.gpx is not a well-formed GPX file (line 1: a \"<\" begins no tag)."},
  };
  for (const auto& [bytes, error] : refused) {
    const gpi::GpxWaypoints g = gpi::readGpxWaypoints(bytes, "t.gpx");
    EXPECT_EQ(g.error, error) << bytes;
    EXPECT_TRUE(g.waypoints.empty());
  }
  EXPECT_EQ(gpi::readGpxFile("/no/such.gpx").error,
            "/no/such.gpx cannot be read: No such file or directory.");
}

}  // namespace
}  // namespace waymint::testing
