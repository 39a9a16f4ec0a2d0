#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/node_records.h"
#include "app/text_search.h"
#include "app/text_finder.h"
#include "gpx/record_selection.h"

namespace waymint::testing {
namespace {

using app::findLastText;

// A text searched for regardless of case, as the selection of records searches.
app::TextFinder FoldedText(std::string_view text) {
  return app::TextFinder(text, app::TextFinder::Case::Ignore);
}
using Records = std::vector<std::string>;
constexpr size_t npos = std::string_view::npos;

Records select(std::string_view text, std::string_view category, size_t step = npos) {
  gpx::CategoryRecords records(text, category);
  Records got;
  for (size_t upTo = std::min(step, text.size());; upTo = std::min(text.size(), upTo + step)) {
    for (std::string_view record; records.next(record, upTo);) got.emplace_back(record);
    EXPECT_GE(records.scanned(), upTo);
    if (upTo == text.size()) break;
  }
  return got;
}

// The selection as it is defined: every record cut, lower-cased and searched.
Records selectSlowly(std::string_view text, std::string_view category) {
  auto lower = [](std::string_view s) {
    std::string result(s);
    for (char& c : result) c = app::lowerAscii(c);
    return result;
  };
  app::NodeRecordCutter cutter(text);
  Records got;
  for (std::string_view record; cutter.next(record);) {
    const std::string low = lower(record);
    if (app::containsText(low, lower(category)) && !app::containsText(low, "\"ref")) {
      got.emplace_back(record);
    }
  }
  return got;
}

TEST(FoldedSearch, IgnoresTheCaseOfAToZOnly) {
  auto pub = FoldedText("PuB");
  EXPECT_EQ(pub.findIn("a PUB"), 2u);
  EXPECT_EQ(pub.findIn("pUb pub", 1), 4u);
  EXPECT_EQ(pub.findIn("pu"), npos);
  EXPECT_EQ(pub.findIn("pub", 4), npos);
  // Only letters fold: "@" (0x40) is not "`" (0x60), "[" is not "{".
  EXPECT_EQ(FoldedText("`").findIn("@"), npos);
  EXPECT_EQ(FoldedText("{").findIn("["), npos);
  EXPECT_EQ(FoldedText("a_b").findIn("A\x7F" "B a_B"), 4u);
}

TEST(FoldedSearch, ComparesUtf8BytesExactly) {
  auto cafe = FoldedText("caf\xC3\xA9");
  EXPECT_EQ(cafe.findIn("CAF\xC3\x89 Caf\xC3\xA9"), 6u);  // É is not é
  EXPECT_EQ(FoldedText("\xC3\xA9").findIn("\xE3\xA9\xC3\xA9"), 2u);
}

TEST(FoldedSearch, FindsAtEveryPlaceOfLongTexts) {
  // Long enough for the block-wise search; every alignment and both ends.
  for (size_t at = 0; at < 70; ++at) {
    std::string text(70, 'r');
    text.replace(at, std::min<size_t>(4, 70 - at), std::string("ReSt").substr(0, 70 - at));
    auto rest = FoldedText("rest");
    EXPECT_EQ(rest.findIn(text), at + 4 <= 70 ? at : npos) << at;
    EXPECT_EQ(rest.findIn(text, at + 1), npos) << at;
  }
  EXPECT_EQ(FoldedText("").findIn("abc", 2), 2u);
  EXPECT_EQ(FoldedText("x").findIn("abc", 4), npos);
}

TEST(FoldedSearch, FindLastTextSearchesBackwardsInsideTheRange) {
  std::string text = "<node a><node b>" + std::string(40, 'x') + "<node c>";
  EXPECT_EQ(findLastText(text, "<node ", 0, text.size()), 56u);
  EXPECT_EQ(findLastText(text, "<node ", 0, 61), 8u);  // must lie wholly inside
  EXPECT_EQ(findLastText(text, "<node ", 0, 62), 56u);
  EXPECT_EQ(findLastText(text, "<node ", 9, 56), npos);
  EXPECT_EQ(findLastText(text, "<node ", 8, 14), 8u);
  EXPECT_EQ(findLastText(text, "<node ", 0, 1000), 56u);
  for (size_t at = 0; at + 6 <= 80; ++at) {
    std::string filler(80, '<');
    filler.replace(at, 6, "<node ");
    EXPECT_EQ(findLastText(filler, "<node ", 0, filler.size()), at) << at;
    EXPECT_EQ(findLastText(filler, "<node ", at + 1, filler.size()), npos) << at;
  }
}

const std::string sample =
    "<osm>\n"
    "  <node id=\"1\" lat=\"1\" lon=\"1\">\n    <tag k=\"amenity\" v=\"pub\"/>\n  </node>\n"
    "  <node id=\"2\" lat=\"2\" lon=\"2\">\n    <tag k=\"name\" v=\"Public Garden\"/>\n  </node>\n"
    "  <node id=\"3\" lat=\"3\" lon=\"3\">\n    <tag k=\"amenity\" v=\"pub\"/>\n"
    "    <tag k=\"ref\" v=\"12\"/>\n  </node>\n"
    "  <node id=\"4\" lat=\"4\" lon=\"4\">\n    <tag k=\"note\" v=\"REFORMED PUB\"/>\n  </node>\n"
    "  <node id=\"5\" lat=\"5\" lon=\"5\"/>\n"
    "  <node id=\"6\" lat=\"6\" lon=\"6\">\n    <tag k=\"name\" v=\"Pub Lane\"/>\n  </node>\n"
    "  <way id=\"7\">\n    <tag k=\"amenity\" v=\"pub\"/>\n  </way>\n"
    "</osm>\n";

TEST(CategoryRecords, TakesEveryRecordHoldingTheCategoryInAnyCase) {
  Records got = select(sample, "pub");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].substr(0, 7), "id=\"1\" ");
  EXPECT_EQ(got[1].substr(0, 7), "id=\"2\" ");  // "Public"
  EXPECT_EQ(got[2].substr(0, 7), "id=\"6\" ");  // "Pub Lane"
  EXPECT_EQ(got, selectSlowly(sample, "pub"));
  EXPECT_EQ(select(sample, "PUB"), got);
}

TEST(CategoryRecords, LeavesOutRecordsWithQuoteRefInAnyCase) {
  EXPECT_TRUE(select(sample, "12").empty());        // the ref tag's own record
  EXPECT_TRUE(select(sample, "reformed").empty());  // a value beginning with REF
}

TEST(CategoryRecords, WhatLiesBetweenNodesBelongsToNoRecord) {
  EXPECT_TRUE(select(sample, "way").empty());
  EXPECT_TRUE(select(sample, "osm").empty());
  // "<node " itself is not part of the record; "</node>" is.
  EXPECT_EQ(select(sample, "<node").size(), 0u);
  EXPECT_EQ(select(sample, "node>").size(), 3u);
}

TEST(CategoryRecords, CategoryAtARecordsVeryStartAndEnd) {
  std::string text = "<node pub/><node x pub/>pub<node pub";
  EXPECT_EQ(select(text, "pub"), (Records{"pub/>", "x pub/>", "pub"}));
  // An occurrence that runs past the record's end is not inside it.
  EXPECT_EQ(select("<node a pu/>b <node pub/>", "pu/>b"), Records{});
  EXPECT_EQ(select("<node a pu/>b <node pub/>", "pu/>"), (Records{"a pu/>"}));
  EXPECT_EQ(select("<node a/>pub<node b/>", "/>pub"), Records{});
}

TEST(CategoryRecords, OverlappingAndRepeatedOccurrences) {
  std::string text = "<node aaaa/>aaaa<node aaa/>";
  EXPECT_EQ(select(text, "aa"), (Records{"aaaa/>", "aaa/>"}));
  EXPECT_EQ(select(text, "aaaa"), (Records{"aaaa/>"}));
}

TEST(CategoryRecords, AgreesWithTheDefinitionWhateverTheSearchSteps) {
  std::string text;
  const char* values[] = {"Pub", "cafe", "restaurant", "Caf\xC3\xA9", "pub\"REF", "pUbLiC"};
  for (int i = 0; i < 300; ++i) {
    text += "  <node id=\"" + std::to_string(i) + "\" lat=\"1\" lon=\"2\"";
    if (i % 7 == 0) {
      text += "/>\n";
    } else {
      text += ">\n    <tag k=\"x\" v=\"" + std::string(values[i % 6]) + "\"/>\n  </node>\n";
    }
    if (i % 50 == 0) text += "  <way id=\"1\"><tag k=\"amenity\" v=\"pub\"/></way>\n";
  }
  for (const char* category : {"pub", "caf", "caf\xC3\xA9", "\"", "1", "restaurant", "ref"}) {
    const Records expected = selectSlowly(text, category);
    for (size_t step : {size_t{1}, size_t{13}, size_t{4096}, npos}) {
      EXPECT_EQ(select(text, category, step), expected) << category << " " << step;
    }
  }
}

TEST(CategoryRecords, EmptyTextHasNoRecords) {
  EXPECT_TRUE(select("", "pub").empty());
  EXPECT_TRUE(select("<osm><way/></osm>", "pub").empty());
}

}  // namespace
}  // namespace waymint::testing
