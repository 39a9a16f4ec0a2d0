#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "osm/node_records.h"
#include "platform/files.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "survey/category_list.h"
#include "survey/get_tags.h"
#include "survey/record_value.h"

namespace waymint::testing {
namespace {

using List = std::vector<std::string>;

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

TEST_F(GetTagsTest, FilesWithoutTaggedNodesGiveAnEmptyList) {
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

TEST_F(GetTagsTest, NothingLoaded) {
  survey::get_tags(*program);
  EXPECT_EQ(program->f1.List1(2).items(), List{});
  EXPECT_EQ(takeMessages(), List{"No OSM file is loaded."});
}

// The categories of a text as examining every node record in turn gives them.
List everyRecordExamined(std::string_view text) {
  survey::CategoryList categories;
  osm::NodeRecordCutter records(text);
  survey::RecordValue found;
  for (std::string_view record; records.next(record);) {
    survey::recordValue(record, found);
    categories.add(found.value);
  }
  return categories.takeSorted();
}

TEST_F(GetTagsTest, RealExtractsListWhatEveryRecordGives) {
  auto check = [this](const char* file) {
    SCOPED_TRACE(file);
    std::string text = platform::files::readWhole(sharedPath(file));
    const List expected = everyRecordExamined(text);
    const List listed = survey(std::move(text));
    EXPECT_EQ(listed, expected);
    return listed.size();
  };
  EXPECT_EQ(check("data/monaco.osm"), 108u);
  EXPECT_GT(check("data/liechtenstein-2013-08-03.osm"), 80u);
}

}  // namespace
}  // namespace waymint::testing
