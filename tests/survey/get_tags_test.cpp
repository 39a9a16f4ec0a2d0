#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "osm/node_records.h"
#include "platform/files.h"
#include "platform/threads.h"
#include "support/osm_text.h"
#include "support/case_table.h"
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

TEST(RecordValue, ValueAndFailuresOfOneRecord) {
  survey::RecordValue found;  // one for all, as a scan uses it
  const auto expectValue = [&found](const std::string& record, const std::string& value,
                                    int failures) {
    SCOPED_TRACE(record.substr(0, 200));
    survey::recordValue(record, found);
    EXPECT_EQ(found.value, value);
    EXPECT_EQ(found.failures, failures);
  };
  for (const auto& c : caseTable("survey/data/record_values.tsv", 3)) {
    const bool whole = c[0].empty() || c[0].starts_with("id=");
    expectValue(whole ? c[0] : node(c[0]), c[1], std::stoi(c[2]));
  }
  const std::string farAway = "    <tag k=\"amenity\" v=\"far_away\"/>\n";
  expectValue(node(std::string(70000, ' ') + farAway), "far_away", 0);
}

std::string surveyData(const std::string& name) {
  return std::string(WAYMINT_SOURCE_DIR) + "/tests/survey/data/" + name;
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

// data/discovery.osm: a node of each value, an untagged node (no POI), a way (no POI) after the
// last node (which counts too).
TEST_F(GetTagsTest, DistinctLowerCaseValuesByFirstByteInDiscoveryOrder) {
  EXPECT_EQ(survey(slurp(surveyData("discovery.osm"))),
            (List{"9a", "_x", "apple", "bench", "bar", "cafe", "king", "parking_entrance",
                  "parking", "yak", "zoo", "zebra", "\xC3\x89tang"}));
}

// With exact categories every POI key of a record gives its value, as the runs take it; keys
// of a past state, other keys and words in values give nothing.
TEST_F(GetTagsTest, ExactCategoriesListEveryValueOfEveryPoiKey) {
  program->state.choices.exact = true;
  const std::string text = slurp(surveyData("exact.osm"));
  EXPECT_EQ(survey(text), (List{"bus_stop", "cafe", "coffee", "hotel", "memorial",
                                "parking_entrance", "parking", "shelter"}));
  program->state.choices.exact = false;
  // As always: one value a record, by the key words found anywhere in its text.
  EXPECT_EQ(survey(text), (List{"cafe", "pub", "parking_entrance", "parking", "shelter"}));
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
