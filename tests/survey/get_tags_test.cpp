#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "osm/node_records.h"
#include "platform/files.h"
#include "platform/threads.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "support/test_data.h"
#include "survey/category_list.h"
#include "survey/get_tags.h"
#include "survey/record_value.h"

namespace waymint::testing {
namespace {

using List = std::vector<std::string>;

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
      {node(tag("shop", "Bakery")), "Bakery"},
      // The later primary key of the test order wins, whatever the order of the tags.
      {node(tag("amenity", "shelter") + tag("highway", "bus_stop")), "shelter"},
      {node(tag("amenity", "cafe") + tag("leisure", "park")), "park"},
      // Secondary keys count only without a primary one.
      {node(tag("tourism", "hotel") + tag("amenity", "cafe")), "cafe"},
      {node(tag("shop", "bakery") + tag("natural", "tree")), "bakery"},
      {node(tag("history", "old")), ""},  // the key historic is in no fragment
      // Key words are searched anywhere, case-sensitively.
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

class GetTagsTest : public ProgramTest {
 protected:
  void SetUp() override { start(); }
  List survey(std::string text) {
    load(std::move(text));
    survey::get_tags(*program);
    EXPECT_FALSE(machine.busyPointer());
    return program->f1.List1(2).items();
  }
};

TEST_F(GetTagsTest, DistinctLowerCaseValuesByFirstByteInDiscoveryOrder) {
  std::string body;
  for (const char* value : {"Zoo", "apple", "bench", "Cafe", "zebra", "parking_entrance", "yak",
                            "bar", "cafe", "parking", "_x", "king", "CAFE", "9a"}) {
    body += osmNode({{"amenity", value}});
  }
  body += osmNode("2", "1", "2", {}, " user=\"amenity\"");  // untagged: no POI
  body += osmNode({{"name", "Mill"}, {"shop", "\xC3\x89tang"}});  // the last node counts too
  body += " <way id=\"5\">\n  <tag k=\"amenity\" v=\"way_cafe\"/>\n </way>\n";
  EXPECT_EQ(survey(osmFile(body)),
            (List{"9a", "_x", "apple", "bench", "bar", "cafe", "king", "parking_entrance",
                  "parking", "yak", "zoo", "zebra", "\xC3\x89tang"}));
}

// With exact categories every POI key of a record gives its value, as the runs take it; keys
// of a past state, other keys and words in values give nothing.
TEST_F(GetTagsTest, ExactCategoriesListEveryValueOfEveryPoiKey) {
  program->state.choices.exact = true;
  const std::string body =
      osmNode({{"amenity", "cafe"}, {"shop", "Coffee"}, {"name", "leisure park"}}) +
      osmNode({{"disused:amenity", "pub"}, {"was:shop", "bakery"}, {"cuisine", "pizza"}}) +
      osmNode({{"highway", "bus_stop"}, {"amenity", "shelter"}, {"historic", "memorial"}}) +
      osmNode({{"tourism", "hotel"}, {"amenity", "cafe"}, {"source:amenity", "survey"}}) +
      osmNode({{"amenity", "parking_entrance"}, {"ref", "P1"}}) + osmNode({{"amenity", "parking"}});
  EXPECT_EQ(survey(osmFile(body)), (List{"bus_stop", "cafe", "coffee", "hotel", "memorial",
                                         "parking_entrance", "parking", "shelter"}));
  program->state.choices.exact = false;
  // As always: one value a record, by the key words found anywhere in its text.
  EXPECT_EQ(survey(osmFile(body)), (List{"cafe", "pub", "parking_entrance", "parking", "shelter"}));
}

TEST_F(GetTagsTest, NothingLoadedOrNoTaggedNodesGiveAnEmptyList) {
  survey::get_tags(*program);
  EXPECT_EQ(takeMessages(), List{"No OSM file is loaded."});
  EXPECT_EQ(program->f1.List1(2).items(), List{});
  EXPECT_EQ(survey(osmFile(osmNode({{"amenity", "pub"}}))), List{"pub"});
  EXPECT_EQ(survey(""), List{});  // and the previous list is gone
  EXPECT_EQ(survey(osmFile(osmNode("1", "1", "2") + osmNode("2", "3", "4"))), List{});
  EXPECT_EQ(survey(osmFile("<way id=\"1\"><tag k=\"amenity\" v=\"pub\"/></way>")), List{});
}

TEST_F(GetTagsTest, UnreadableTagsOfAGarbageFileAreReportedOnce) {
  std::string garbage;
  for (int i = 0; i < 500; ++i) {
    garbage += std::string("\x01\xFF<node \0\x80", 10) + "<tag k=\"amenity\"/>\xFE";
    if (i == 250) garbage += osmNode({{"amenity", "pub"}});
  }
  EXPECT_EQ(survey(garbage), List{"pub"});
  EXPECT_EQ(takeMessages(), List{"Invalid procedure call or argument"});
}

// The survey cuts only the records around a "<tag ": it lists what examining every node record
// in turn gives.
TEST_F(GetTagsTest, RealExtractsListWhatEveryRecordGives) {
  auto check = [this](const char* file) {
    SCOPED_TRACE(file);
    std::string text = platform::files::readWhole(unpackedExtract(file));
    survey::CategoryList categories;
    osm::NodeRecordCutter records(text);
    survey::RecordValue found;
    for (std::string_view record; records.next(record);) {
      survey::recordValue(record, found);
      categories.add(found.value);
    }
    const List expected = categories.takeSorted();
    EXPECT_EQ(survey(std::move(text)), expected);
    return expected.size();
  };
  EXPECT_EQ(check("monaco.osm"), 108u);
  EXPECT_GT(check("liechtenstein-2013-08-03.osm"), 80u);
}

// With fewer threads than parts, none included, the calling thread surveys the parts left,
// between reports of progress: the same list, and a cancel still ends it.
TEST_F(GetTagsTest, TheSurveyWorksWithTheThreadsItCanGet) {
  const std::string text = platform::files::readWhole(unpackedExtract("monaco.osm"));  // 42 MB: parts
  const List expected = survey(text);
  for (size_t allowed : {0, 1}) {
    platform::refuseThreadsAfter(allowed);
    EXPECT_EQ(survey(text), expected) << allowed;
    int reports = 0;
    machine.onProgress([&](const std::string&, std::optional<double>) {
      if (++reports == 2) machine.requestCancel();
    });
    EXPECT_EQ(survey(text), List{});
    machine.onProgress({});
    machine.progressDone();
  }
  platform::refuseThreadsAfter(std::nullopt);
}

}  // namespace
}  // namespace waymint::testing
