#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/node_records.h"
#include "platform/files.h"
#include "survey/category_list.h"
#include "survey/record_value.h"
#include "survey/survey_fixture.h"

namespace waymint::testing {
namespace {

bool contains(const std::vector<std::string>& entries, const std::string& value) {
  return std::find(entries.begin(), entries.end(), value) != entries.end();
}

// What every category list must be: distinct, non-empty, lower-case entries ordered by their
// first byte.
void expectWellFormed(const std::vector<std::string>& entries) {
  std::set<std::string> distinct(entries.begin(), entries.end());
  EXPECT_EQ(distinct.size(), entries.size()) << "duplicate entries";
  for (const auto& entry : entries) {
    ASSERT_FALSE(entry.empty());
    EXPECT_EQ(entry.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << entry;
  }
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                             [](const std::string& a, const std::string& b) {
                               return static_cast<unsigned char>(a[0]) <
                                      static_cast<unsigned char>(b[0]);
                             }));
}

// The categories of a text as examining every node record in turn gives them.
std::vector<std::string> everyRecordExamined(std::string_view text) {
  survey::CategoryList categories;
  app::NodeRecordCutter records(text);
  survey::RecordValue found;
  for (std::string_view record; records.next(record);) {
    survey::recordValue(record, found);
    categories.add(found.value);
  }
  return categories.takeSorted();
}

class SurveyExtractTest : public SurveyTest {
 protected:
  const std::vector<std::string>& surveyFile(const std::string& relative) {
    return survey(platform::files::readWhole(sharedPath(relative)));
  }
};

TEST_F(SurveyExtractTest, Monaco) {
  const auto& entries = surveyFile("data/monaco.osm");
  expectWellFormed(entries);
  EXPECT_GT(entries.size(), 80u);
  for (const char* value : {"restaurant", "cafe", "bench", "bus_stop", "pharmacy",
                            "traffic_signals", "fuel", "hotel", "atm"}) {
    EXPECT_TRUE(contains(entries, value)) << value;
  }
  // Values found on ways only (highway=residential) and of keys outside the key words
  // (crossing_ref=zebra) are not listed.
  EXPECT_FALSE(contains(entries, "residential"));
  EXPECT_FALSE(contains(entries, "zebra"));
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(SurveyExtractTest, OnlyRecordsWithTagsNeedExaminingForTheSameList) {
  for (const char* file : {"data/monaco.osm", "data/liechtenstein-2013-08-03.osm"}) {
    const std::string text = platform::files::readWhole(sharedPath(file));
    EXPECT_EQ(surveyFile(file), everyRecordExamined(text)) << file;
  }
}

TEST_F(SurveyExtractTest, Liechtenstein) {
  const auto& entries = surveyFile("data/liechtenstein-2013-08-03.osm");
  expectWellFormed(entries);
  EXPECT_GT(entries.size(), 80u);
  for (const char* value : {"restaurant", "cafe", "bench", "bus_stop", "alpine_hut",
                            "camp_site", "museum", "level_crossing"}) {
    EXPECT_TRUE(contains(entries, value)) << value;
  }
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(SurveyExtractTest, HugeRecordIsSurveyedWhole) {
  std::string tags;
  for (int i = 0; i < 200000; ++i) tags += tag("note:" + std::to_string(i), "plain text");
  tags += tag("amenity", "observatory");
  std::string file = osm(node(tag("shop", "kiosk")) + node(tags) + node(tag("amenity", "pub")));
  ASSERT_GT(file.size(), 5'000'000u);
  EXPECT_EQ(survey(std::move(file)), (std::vector<std::string>{"kiosk", "observatory", "pub"}));
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(SurveyExtractTest, BinaryGarbageGivesAWellFormedList) {
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> byte(0, 255);
  const std::vector<std::string> pieces = {"<node ", "<tag ", "k=", "v=", "/>", "\"", "amenity",
                                           "shop", "histor", "\"name", "</node>", ">"};
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::string bytes;
  while (bytes.size() < 4'000'000) {
    if (random() % 4 == 0) {
      bytes += pieces[pick(random)];
    } else {
      bytes += static_cast<char>(byte(random));
    }
  }
  const auto& entries = survey(std::move(bytes));
  expectWellFormed(entries);
  EXPECT_FALSE(entries.empty());
  // Thousands of unreadable tags: said once, not in a box for each.
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Invalid procedure call or argument"});
  EXPECT_FALSE(machine.busyPointer());
}

}  // namespace
}  // namespace waymint::testing
