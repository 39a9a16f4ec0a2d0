#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gpx/gpx_document.h"
#include "gpx/parse.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Names = std::vector<std::string>;

TEST(Fnstrip, TurnsEveryByteAboveZIntoAnUnderscore) {
  EXPECT_EQ(gpx::fnstrip("Caf\xC3\xA9"), "Caf__");
  EXPECT_EQ(gpx::fnstrip("{Pub}|~\x7F\x80\xFF"), "_Pub______");
  EXPECT_EQ(gpx::fnstrip("A&amp;B &#233; z 09 \t\"'"), "A&amp;B &#233; z 09 \t\"'");
  EXPECT_EQ(gpx::fnstrip(""), "");
  EXPECT_EQ(gpx::fnstrip(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(AttributeValue, TakesTheTextBetweenEitherQuote) {
  EXPECT_EQ(gpx::attributeValue("id=\"1\" lat=\"43.7\" lon=\"7.4\">", "lat="), "43.7");
  EXPECT_EQ(gpx::attributeValue("id='1' lat='43.7' lon='7.4'/>", "lon="), "7.4");
  EXPECT_EQ(gpx::attributeValue("lat='4\"3'", "lat="), "4\"3");
  EXPECT_EQ(gpx::attributeValue("lat=\"\" lon", "lat="), "");
  EXPECT_EQ(gpx::attributeValue("lat=\"43.7", "lat="), "43.7");  // no closing quote
}

TEST(AttributeValue, UnquotedStopsAtBlankGreaterSlashOrLineEnd) {
  EXPECT_EQ(gpx::attributeValue("lat=43.7 lon=7", "lat="), "43.7");
  EXPECT_EQ(gpx::attributeValue("lon=7.4>", "lon="), "7.4");
  EXPECT_EQ(gpx::attributeValue("lon=7.4/>", "lon="), "7.4");
  EXPECT_EQ(gpx::attributeValue("lon=7.4\r\n", "lon="), "7.4");
  EXPECT_EQ(gpx::attributeValue("lon=7.4\n", "lon="), "7.4");
  EXPECT_EQ(gpx::attributeValue("lon=7.4", "lon="), "7.4");
  EXPECT_EQ(gpx::attributeValue("lon=", "lon="), "");
  EXPECT_FALSE(gpx::attributeValue("id=\"1\" lon=\"2\"", "lat=").has_value());
  EXPECT_FALSE(gpx::attributeValue("", "lat=").has_value());
}

TEST(RawName, IsTheValueOfTheFirstKeyBeginningWithName) {
  EXPECT_EQ(gpx::rawName("a><tag k=\"amenity\" v=\"pub\"/><tag k=\"name\" v=\"Red Lion\"/>"),
            "Red Lion");
  EXPECT_EQ(gpx::rawName("a><tag k=\"name:en\" v=\"Swan\"/><tag k=\"name\" v=\"Cygne\"/>"), "Swan");
  EXPECT_EQ(gpx::rawName("a><tag k=\"name\" v=\"X\"/>"), "X");
  EXPECT_EQ(gpx::rawName("a><tag k=\"name\" v=\"\"/>"), "");
}

TEST(RawName, WithoutANameKeyIsTheFirstTagValue) {
  EXPECT_EQ(gpx::rawName("a><tag k=\"amenity\" v=\"pub\"/><tag k=\"x\" v=\"y\"/>"), "pub");
  // Keys in single quotes are not recognised; the value is still cut by position.
  EXPECT_EQ(gpx::rawName("a><tag k='amenity' v='pub'/><tag k='name' v='Swan'/>"), "pub");
}

TEST(RawName, IsCutByPositionWhereTheValueIsNotFollowedByQuoteAndSlash) {
  EXPECT_EQ(gpx::rawName("a><tag k=\"name\" v=\"Red Lion\" />"), "Red Lion\"");
  // No "/>" after the value: the piece is as long as the value's position gives.
  EXPECT_EQ(gpx::rawName("<tag k=\"name\" v=\"ab\">012345678901234567890123456789"),
            "ab\">0123456789012345678");
  EXPECT_EQ(gpx::rawName("<tag k=\"name\" v=\"abc\"></tag><tag k=\"x\" v=\"y\"></tag>"),
            "abc\"></tag><tag k=\"x\" v");
}

class ParseTest : public ProgramTest {
 protected:
  app::Program& p = start();
  gpx::GpxDocument document;

  void parse(const std::string& record, bool aa = false) { gpx::parse(p, record, aa, document); }
  const Names& found() const { return p.f1.List1(0).items(); }
  const Names& added() const { return p.f1.List2.items(); }
};

std::string record(const std::string& name, const std::string& lat = "43.7",
                   const std::string& lon = "7.4") {
  return "id=\"1\" lat=\"" + lat + "\" lon=\"" + lon + "\">\n    <tag k=\"amenity\" v=\"pub\"/>\n" +
         "    <tag k=\"name\" v=\"" + name + "\"/>\n  </node>";
}

TEST_F(ParseTest, ListingRunListsTheCleanedNameAndWritesNothing) {
  p.state.category = "pub";
  parse(record("Caf\xC3\xA9 {Nord} &amp; Co"));
  EXPECT_EQ(found(), (Names{"Caf__ _Nord_ &amp; Co"}));
  EXPECT_TRUE(added().empty());
  EXPECT_FALSE(document.started());
}

TEST_F(ParseTest, WritingRunAddsTheWaypoint) {
  p.state.category = "pub";
  p.state.proximity = 30;
  p.f1.Check2.setValue(1);
  parse(record("Swan"), true);
  EXPECT_EQ(found(), (Names{"Swan"}));
  EXPECT_EQ(added(), (Names{"Swan"}));
  gpx::WaypointOptions options;
  options.alert = true;
  options.proximity = 30;
  EXPECT_EQ(document.bytes(), gpx::waypointBlock("43.7", "7.4", "Swan", options) + "\r\n");
}

TEST_F(ParseTest, ANameTakenBeforeIsSkippedButOnlyWhenEqual) {
  p.state.category = "pub";
  for (const char* name : {"Red Lion", "Swan", "Lion", "Red", "nSwa", "Swan", "Red Lion"}) {
    parse(record(name), true);
  }
  EXPECT_EQ(found(), (Names{"Red Lion", "Swan", "Lion", "Red", "nSwa"}));
  EXPECT_EQ(added(), found());
}

TEST_F(ParseTest, AnEmptyNameIsTakenOnce) {
  p.state.category = "pub";
  parse(record("Swan"));
  parse(record(""));
  parse(record("", "1", "2"));
  EXPECT_EQ(found(), (Names{"Swan", ""}));
}

TEST_F(ParseTest, ANameEqualToTheCategoryGetsItsPosition) {
  p.state.category = "pub";
  parse("id=\"1\" lat=\"43.7\" lon=\"7.4\">\n    <tag k=\"amenity\" v=\"pub\"/>\n  </node>");
  parse("id=\"2\" lat=\"43.8\" lon=\"7.5\">\n    <tag k=\"amenity\" v=\"pub\"/>\n  </node>");
  parse("id=\"3\" lat=\"43.8\" lon=\"7.5\">\n    <tag k=\"amenity\" v=\"pub\"/>\n  </node>");
  EXPECT_EQ(found(), (Names{"pub:43.7,7.4", "pub:43.8,7.5"}));
  // Exact comparison: another case is another name.
  p.state.category = "Pub";
  parse("id=\"4\" lat=\"1\" lon=\"2\">\n    <tag k=\"amenity\" v=\"pub\"/>\n  </node>");
  EXPECT_EQ(found().back(), "pub");
}

TEST_F(ParseTest, SingleQuotedAttributesGiveThePosition) {
  p.state.category = "cafe";
  parse("id='1' lat='43.7' lon='7.4'>\n    <tag k='amenity' v='cafe'/>\n"
        "    <tag k='name' v='Swan'/>\n  </node>",
        true);
  EXPECT_EQ(found(), (Names{"cafe:43.7,7.4"}));
  EXPECT_NE(document.bytes().find("<wpt lat=\"43.7\" lon=\"7.4\">\r\n"), std::string::npos);
}

TEST_F(ParseTest, CrLfAndUnquotedPositionsLoseTheirLineEnds) {
  p.state.category = "pub";
  parse("id=\"1\" lat=\"43.7\"\r\n lon=\"7.4\">\r\n <tag k=\"name\" v=\"A\"/>\r\n </node>", true);
  parse("id=\"2\" lat=43.8 lon=7.5\r\n> <tag k=\"name\" v=\"B\"/>\r\n </node>", true);
  parse("id=\"3\" lat=43.9 lon=7.6>\r\n <tag k=\"name\" v=\"C\"/>\r\n </node>", true);
  const std::string& bytes = document.bytes();
  EXPECT_NE(bytes.find("<wpt lat=\"43.7\" lon=\"7.4\">\r\n<name>A</name>"), std::string::npos);
  EXPECT_NE(bytes.find("<wpt lat=\"43.8\" lon=\"7.5\">\r\n<name>B</name>"), std::string::npos);
  EXPECT_NE(bytes.find("<wpt lat=\"43.9\" lon=\"7.6\">\r\n<name>C</name>"), std::string::npos);
}

TEST_F(ParseTest, ARecordWithoutAPositionIsNoPoi) {
  p.state.category = "pub";
  parse("id=\"1\" lon=\"7.4\">\n <tag k=\"name\" v=\"A\"/>\n </node>", true);
  parse("id=\"2\" lat=\"43.7\">\n <tag k=\"name\" v=\"B\"/>\n </node>", true);
  parse("id=\"3\" lat =\"1\" lon =\"2\">\n <tag k=\"name\" v=\"C\"/>\n </node>", true);
  EXPECT_TRUE(found().empty());
  EXPECT_TRUE(added().empty());
  EXPECT_FALSE(document.started());
  EXPECT_TRUE(p.state.seennames.empty());
}

TEST_F(ParseTest, QuotesInsideAPositionAreDropped) {
  p.state.category = "pub";
  parse("lat='4\"3' lon=\"7>8\"><tag k=\"name\" v=\"A\"/>", true);
  EXPECT_NE(document.bytes().find("<wpt lat=\"43\" lon=\"7\">"), std::string::npos);
}

TEST_F(ParseTest, APoiAlreadyInTheExtendedFileIsListedNotAddedAndItsNameIsTaken) {
  p.state.category = "pub";
  p.state.merging = true;
  document.extend("<wpt lat=\"43.7\" lon=\"7.4\">\r\n<name>Swan</name>");
  const std::string before = document.bytes();
  parse(record("Swan"), true);
  // The same name at another place stays out, as it did when the file was written.
  parse(record("Swan", "50", "8"), true);
  parse(record("Swan Inn", "43.7", "7.41"), true);
  EXPECT_EQ(found(), (Names{"Swan", "Swan Inn"}));
  EXPECT_EQ(added(), (Names{"Swan Inn"}));
  EXPECT_EQ(document.bytes().substr(0, before.size()), before);
  EXPECT_NE(document.bytes().find("<wpt lat=\"43.7\" lon=\"7.41\">", before.size()),
            std::string::npos);
}

TEST_F(ParseTest, TheOldFileIsNotConsultedWithoutMergingOrInAListingRun) {
  p.state.category = "pub";
  document.extend("<wpt lat=\"43.7\" lon=\"7.4\">");
  parse(record("Swan"), true);
  EXPECT_EQ(added(), (Names{"Swan"}));
  p.state.merging = true;
  parse(record("Red"), false);
  EXPECT_EQ(found(), (Names{"Swan", "Red"}));
  EXPECT_EQ(added(), (Names{"Swan"}));
}

}  // namespace
}  // namespace waymint::testing
