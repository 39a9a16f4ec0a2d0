#include <gtest/gtest.h>

#include <optional>
#include <string>

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

struct Outcome {
  std::optional<std::string> value;
  int failures = 0;
};
Outcome examine(const std::string& record) {
  Outcome outcome;
  outcome.value = survey::recordValue(record, outcome.failures);
  return outcome;
}
std::optional<std::string> valueOf(const std::string& record) {
  Outcome outcome = examine(record);
  EXPECT_EQ(outcome.failures, 0) << record;
  return outcome.value;
}

TEST(RecordValue, SelfClosingDoubleQuotedTagGivesItsValue) {
  EXPECT_EQ(valueOf(node(tag("amenity", "restaurant"))), "restaurant");
  EXPECT_EQ(valueOf(node(tag("shop", "Bakery"))), "Bakery");  // case is kept here
  EXPECT_EQ(valueOf(node("    <tag k=\"amenity\" v=\"cafe\" />\n")), "cafe");
}

TEST(RecordValue, RecordsWithoutTagsOrKeyWordsGiveNothing) {
  EXPECT_EQ(valueOf("id=\"1\" lat=\"1\" lon=\"2\"/>"), std::nullopt);
  EXPECT_EQ(valueOf("id=\"1\" user=\"amenity\" lat=\"1\" lon=\"2\"/>"), std::nullopt);
  EXPECT_EQ(valueOf(node(tag("crossing", "zebra") + tag("created_by", "JOSM"))), std::nullopt);
  EXPECT_EQ(valueOf(""), std::nullopt);
}

TEST(RecordValue, LaterPrimaryKeyOfTheTestOrderWins) {
  EXPECT_EQ(valueOf(node(tag("highway", "bus_stop") + tag("amenity", "shelter"))), "shelter");
  // The order of the key words decides, not the order of the tags.
  EXPECT_EQ(valueOf(node(tag("amenity", "shelter") + tag("highway", "bus_stop"))), "shelter");
  EXPECT_EQ(valueOf(node(tag("barrier", "gate") + tag("railway", "level_crossing"))), "gate");
}

TEST(RecordValue, SecondaryKeysCountOnlyWithoutAnyPrimaryKey) {
  EXPECT_EQ(valueOf(node(tag("tourism", "hotel") + tag("amenity", "cafe"))), "cafe");
  EXPECT_EQ(valueOf(node(tag("tourism", "hotel"))), "hotel");
  EXPECT_EQ(valueOf(node(tag("shop", "bakery") + tag("natural", "tree"))), "bakery");
  EXPECT_EQ(valueOf(node(tag("power", "tower"))), "tower");
}

TEST(RecordValue, HistorGivesTheKeyHistoric) {
  EXPECT_EQ(valueOf(node(tag("historic", "memorial"))), "memorial");
  // "history" sets the key historic, and no fragment holds that word.
  EXPECT_EQ(valueOf(node(tag("history", "old"))), std::nullopt);
}

TEST(RecordValue, KeyWordsAreFoundAnywhereButCaseSensitively) {
  EXPECT_EQ(valueOf(node(tag("name", "Leisure Park"))), std::nullopt);
  // leisure is found, but only in the name fragment, which never gives a value.
  EXPECT_EQ(valueOf(node(tag("name", "leisure park"))), std::nullopt);
  // A key word inside another tag's value makes that tag the one read.
  EXPECT_EQ(valueOf(node(tag("shop", "highway_store"))), "highway_store");
}

TEST(RecordValue, NameAndRefKeysNeverGiveAValue) {
  for (const char* key : {"name", "name:en", "ref", "ref:bus", "source", "direction"}) {
    EXPECT_EQ(valueOf(node(tag(key, "amenity"))), std::nullopt) << key;
  }
  // The excluded fragment is passed over and the next one that qualifies is taken.
  EXPECT_EQ(valueOf(node(tag("name", "amenity bar") + tag("amenity", "pub"))), "pub");
}

TEST(RecordValue, SourceAndDirectionAreExcludedOnlyAsWholeQuotedWords) {
  EXPECT_EQ(valueOf(node(tag("source:amenity", "survey"))), "survey");
  EXPECT_EQ(valueOf(node(tag("direction:highway", "north"))), "north");
}

TEST(RecordValue, OtherQuotesThanDoubleOnesStayPartly) {
  // The p-2 rule cuts the closing apostrophe only.
  EXPECT_EQ(valueOf(node("    <tag k=\"amenity\" v='cafe'/>\n")), "'cafe");
}

TEST(RecordValue, DoubleQuotesInsideTheValueAreRemoved) {
  EXPECT_EQ(valueOf(node("    <tag k=\"amenity\" v=\"ca\"fe\"/>\n")), "cafe");
}

TEST(RecordValue, TagWithoutSelfClosingEndGivesNothing) {
  EXPECT_EQ(valueOf(node("    <tag k=\"amenity\" v=\"cafe\"></tag>\n")), std::nullopt);
}

TEST(RecordValue, ValueTextEndsAtTheNextValueMark) {
  EXPECT_EQ(valueOf(node("    <tag k=\"amenity\" v=\"a\" v=\"b\"/>\n")), std::nullopt);
}

TEST(RecordValue, TextBeforeTheFirstKeyMarkIsAFragmentToo) {
  EXPECT_EQ(valueOf(node("    <tag amenity v=\"pub\"/>\n")), "pub");
}

TEST(RecordValue, Utf8BytesOfAValueStayIntact) {
  EXPECT_EQ(valueOf(node(tag("amenity", "caf\xC3\xA9"))), "caf\xC3\xA9");
}

TEST(RecordValue, KeyFragmentWithoutValueMarkIsAFailureAndTheNextFragmentsCount) {
  Outcome outcome = examine(node("    <tag k=\"amenity\"/>\n" + tag("amenity", "pub")));
  EXPECT_EQ(outcome.failures, 1);
  EXPECT_EQ(outcome.value, "pub");

  outcome = examine(node("    <tag k=\"amenity\"/>\n    <tag k=\"amenity\"/>\n"));
  EXPECT_EQ(outcome.failures, 2);
  EXPECT_EQ(outcome.value, std::nullopt);
}

TEST(RecordValue, EndRightAfterTheValueMarkIsAFailureAndEndsTheRecord) {
  Outcome outcome = examine(node("    <tag k=\"amenity\" v=/>\n" + tag("amenity", "pub")));
  EXPECT_EQ(outcome.failures, 1);
  EXPECT_EQ(outcome.value, std::nullopt);
}

TEST(RecordValue, EmptyValueEndsTheRecordWithoutAFailure) {
  Outcome outcome = examine(node("    <tag k=\"amenity\" v=\"\"/>\n" + tag("amenity", "pub")));
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_EQ(outcome.value, std::nullopt);
}

TEST(RecordValue, BufferVersionResetsBetweenRecords) {
  survey::RecordValue found;
  survey::recordValue(node("    <tag k=\"amenity\"/>\n" + tag("amenity", "restaurant")), found);
  EXPECT_EQ(found.value, "restaurant");
  EXPECT_EQ(found.failures, 1);
  survey::recordValue(node(tag("amenity", "pub")), found);
  EXPECT_EQ(found.value, "pub");
  EXPECT_EQ(found.failures, 0);
  survey::recordValue("id=\"2\"/>", found);
  EXPECT_EQ(found.value, "");
}

TEST(RecordValue, LongRecordsHaveNoLengthLimit) {
  std::string tags;
  for (int i = 0; i < 40000; ++i) tags += tag("note" + std::to_string(i), "x");
  std::string record = node(tags + tag("amenity", "far_away"));
  ASSERT_GT(record.size(), 1'000'000u);
  EXPECT_EQ(valueOf(record), "far_away");
}

}  // namespace
}  // namespace waymint::testing
