#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "osm/node_records.h"
#include "osm/records_holding.h"

namespace waymint::testing {
namespace {

using Records = std::vector<std::string>;

Records cut(std::string_view text, size_t begin, size_t limit) {
  osm::NodeRecordCutter records(text, begin, limit);
  Records got;
  for (std::string_view record; records.next(record);) got.emplace_back(record);
  return got;
}

TEST(NodeRecordCutter, EachRecordEndsWithItsNodeElement) {
  struct Case {
    std::string_view text;
    Records expected;
    size_t begin = 0, limit = std::string_view::npos;
  };
  const Case cases[] = {
      {"<osm>\n <node id=\"1\" lat=\"1\"/>\n</osm>\n", {"id=\"1\" lat=\"1\"/>"}},
      {" <node a>\n  <tag k=\"x\" v=\"y\"/>\n </node>\n <node b/>",
       {"a>\n  <tag k=\"x\" v=\"y\"/>\n </node>", "b/>"}},
      // What lies between node elements belongs to no record.
      {"<node a/>\n <way id=\"9\"><tag k=\"amenity\" v=\"cafe\"/></way>\n<node b>c</node> z",
       {"a/>", "b>c</node>"}},
      // Unclosed nodes run to the next "<node " or the end of the text.
      {"<node a><tag/> <node b/> tail", {"a><tag/> ", "b/>"}},
      {"<node a>x<node b>y</node>z", {"a>x", "b>y</node>"}},
      {"<node a <node b> <tag k=\"x\"", {"a ", "b> <tag k=\"x\""}},
      {"<node />", {"/>"}},
      {"", {}},
      {"<nodes><node/><way/>", {}},
      // Only records starting in [begin, limit) are cut, but each of them whole.
      {"<node a>x</node><node b/>", {"a>x</node>"}, 0, 1},
      {"<node a>x</node><node b/>", {"b/>"}, 1, 100},
      {"<node a>x</node><node b/>", {}, 1, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.begin));
    EXPECT_EQ(cut(c.text, c.begin, c.limit), c.expected);
  }
}

// Positions of records in their text, so that the same view is required, not only equal bytes.
using Spans = std::vector<std::pair<size_t, size_t>>;

TEST(RecordsHolding, GivesTheCutRecordsThatHoldTheTextOnRandomDocuments) {
  const std::vector<std::string_view> pieces = {"<node ", "<node ", "</node>", "/>", ">", " ",
                                                "<tag ", "ab", "Ab", "a", "b", "<way>", "x"};
  std::mt19937 random(1866);
  auto below = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    for (size_t n = below(40); n > 0; --n) text += pieces[below(pieces.size())];
    const bool ignoreCase = round % 3 == 2;
    const std::string wanted = round % 3 == 0 ? "<tag " : round % 3 == 1 ? "b>" : "aB";

    Spans expected;
    osm::NodeRecordCutter cutter(text);
    for (std::string_view record; cutter.next(record);) {
      std::string lower(record);
      for (char& c : lower) c = ignoreCase && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
      if (lower.find(ignoreCase ? "ab" : wanted) != std::string::npos) {
        expected.emplace_back(record.data() - text.data(), record.size());
      }
    }
    // Windows of random length, as a scan that keeps the window alive asks for them.
    using Case = osm::TextFinder::Case;
    osm::RecordsHolding holding(text, {wanted, ignoreCase ? Case::Ignore : Case::Exact});
    Spans got;
    while (holding.scanned() < text.size()) {
      const size_t upTo = holding.scanned() + 1 + below(12);
      for (std::string_view record; holding.next(record, upTo);) {
        got.emplace_back(record.data() - text.data(), record.size());
      }
    }
    ASSERT_EQ(got, expected) << text << " holding " << wanted;
  }
}

}  // namespace
}  // namespace waymint::testing
