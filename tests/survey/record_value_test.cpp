#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "survey/record_value.h"

namespace waymint::testing {
namespace {

// A node record as the cutter gives it: the text after "<node ", up to its "</node>".
std::string node(const std::string& tags) {
  return "id=\"1\" lat=\"43.7\" lon=\"7.4\">\n" + tags + "  </node>";
}
std::string tag(const std::string& k, const std::string& v) {
  return "    <tag k=\"" + k + "\" v=\"" + v + "\"/>\n";
}

TEST(RecordValue, ValueAndFailuresOfOneRecord) {
  struct Case {
    std::string record, value;
    int failures = 0;
  };
  const std::vector<Case> cases = {
      {node(tag("amenity", "restaurant")), "restaurant"},
      {node(tag("shop", "Bakery")), "Bakery"},
      // The later primary key of the test order wins, whatever the order of the tags.
      {node(tag("highway", "bus_stop") + tag("amenity", "shelter")), "shelter"},
      {node(tag("amenity", "shelter") + tag("highway", "bus_stop")), "shelter"},
      {node(tag("amenity", "cafe") + tag("leisure", "park")), "park"},
      // Secondary keys count only without a primary one.
      {node(tag("tourism", "hotel") + tag("amenity", "cafe")), "cafe"},
      {node(tag("tourism", "hotel")), "hotel"},
      {node(tag("shop", "bakery") + tag("natural", "tree")), "bakery"},
      {node(tag("historic", "memorial")), "memorial"},
      {node(tag("history", "old")), ""},  // the key historic is in no fragment
      // Key words are searched anywhere, case-sensitively.
      {node(tag("name", "Leisure Park")), ""},
      {node(tag("name", "leisure park")), ""},
      {node(tag("shop", "highway_store")), "highway_store"},
      // name and ref as beginnings of a quoted word, source and direction as whole ones.
      {node(tag("name", "amenity")), ""},
      {node(tag("name:en", "amenity")), ""},
      {node(tag("ref", "amenity")), ""},
      {node(tag("ref:bus", "amenity")), ""},
      {node(tag("source", "amenity")), ""},
      {node(tag("direction", "amenity")), ""},
      {node(tag("amenity", "reformed")), ""},
      {node(tag("name", "amenity bar") + tag("amenity", "pub")), "pub"},
      {node(tag("source:amenity", "survey")), "survey"},
      {node(tag("direction:highway", "north")), "north"},
      // How the value is written.
      {node("    <tag k=\"amenity\" v=\"cafe\" />\n"), "cafe"},
      {node("    <tag k=\"amenity\" v='cafe'/>\n"), "'cafe"},
      {node("    <tag k=\"amenity\" v=\"cafe\"></tag>\n"), ""},
      {node("    <tag k=\"amenity\" v=\"ca\"fe\"/>\n"), "cafe"},
      {node("    <tag k=\"amenity\" v=\"a\" v=\"b\"/>\n"), ""},
      {node("    <tag amenity v=\"pub\"/>\n"), "pub"},  // the text before the first k=
      {node(tag("amenity", "caf\xC3\xA9")), "caf\xC3\xA9"},
      {node(std::string(70000, ' ') + tag("amenity", "far_away")), "far_away"},
      // Records without tags or without key words.
      {"id=\"1\" user=\"amenity\" lat=\"1\" lon=\"2\"/>", ""},
      {node(tag("crossing", "zebra")), ""},
      {"", ""},
      // Unreadable tags: counted, and the next fragments still examined...
      {node("    <tag k=\"amenity\"/>\n" + tag("amenity", "pub")), "pub", 1},
      {node("    <tag k=\"amenity\"/>\n    <tag k=\"amenity\"/>\n"), "", 2},
      // ...except after a value that ends before it begins.
      {node("    <tag k=\"amenity\" v=/>\n" + tag("amenity", "pub")), "", 1},
      {node(tag("amenity", "") + tag("amenity", "pub")), ""},
  };
  survey::RecordValue found;  // one for all, as a scan uses it
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record.substr(0, 200));
    survey::recordValue(c.record, found);
    EXPECT_EQ(found.value, c.value);
    EXPECT_EQ(found.failures, c.failures);
  }
}

}  // namespace
}  // namespace waymint::testing
