#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "osm/node_records.h"
#include "osm/number_text.h"
#include "osm/records_holding.h"
#include "osm/text_finder.h"
#include "osm/text_search.h"

namespace waymint::testing {
namespace {

using osm::TextFinder;

// Letters next to the neighbours of A-Z and a-z in the code table, and bytes above 0x7F whose
// bit 0x20 differs, so that a sloppy case fold shows.
constexpr std::string_view alphabet = "aAzZbB@[`{\xC1\xE1 <";

// Only A-Z change: the reference the case-ignoring searches are held to.
std::string folded(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return result;
}

TEST(TextSearch, FindersAgreeWithANaiveSearchOnRandomTexts) {
  std::mt19937 random(27);
  auto below = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 20000; ++round) {
    std::string text(below(90), ' ');
    for (char& c : text) c = alphabet[below(alphabet.size())];
    const size_t length = 1 + below(20);
    std::string pattern(length, ' ');
    for (char& c : pattern) c = alphabet[below(4)];  // mostly letters: case matters
    if (text.size() >= length && round % 2 == 0) {
      // A piece of the text itself, often at either end, in another case now and then.
      const size_t at = round % 6 == 0 ? 0 : round % 6 == 2 ? text.size() - length
                                                              : below(text.size() - length + 1);
      pattern = text.substr(at, length);
      if (round % 4 == 0) {
        for (char& c : pattern) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      }
    }
    const size_t from = below(text.size() + 2);
    const size_t to = from + below(text.size() + 2 - from);
    SCOPED_TRACE("text \"" + text + "\" pattern \"" + pattern + "\" from " +
                 std::to_string(from) + " to " + std::to_string(to));
    EXPECT_EQ(TextFinder(pattern, TextFinder::Case::Exact).findIn(text, from),
              text.find(pattern, from));
    EXPECT_EQ(TextFinder(pattern, TextFinder::Case::Ignore).findIn(text, from),
              folded(text).find(folded(pattern), from));
    const size_t last = std::string_view(text).substr(0, to).rfind(pattern);
    EXPECT_EQ(osm::findLastText(text, pattern, from, to), last >= from ? last : osm::npos);
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(TextSearch, ReplaceAllAndLowerCasing) {
  struct Case {
    std::string_view text, from, to, expected;
  };
  const Case cases[] = {
      {"a\"b\"\"", "\"", "", "ab"},         {"aaa", "aa", "b", "ba"},
      {"abab", "ab", "abab", "abababab"},   {"x", "", "y", "x"},
      {"", "a", "b", ""},                   {"\r\n\r\n", "\r\n", "\n", "\n\n"},
      {"no match", "z", "y", "no match"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(osm::replaceAll(c.text, c.from, c.to), c.expected);
    std::string out = "kept:";
    osm::replaceAll(out, c.text, c.from, c.to);
    EXPECT_EQ(out, "kept:" + std::string(c.expected));
  }
  EXPECT_EQ(osm::lowerAscii('Z'), 'z');
  EXPECT_EQ(osm::lowerCase("AZaz@[`{09 \xC3\x84\xC1\xDA"), "azaz@[`{09 \xC3\x84\xC1\xDA");
}

TEST(NumberText, LeadingBoxAndWrittenNumbers) {
  const double inf = INFINITY;
  struct Case {
    std::string_view text;
    std::optional<double> leading;
    std::optional<int> box;
  };
  const Case cases[] = {
      {" .27", 0.27, 0},         {"25m", 25, 25},          {"", std::nullopt, 0},
      {"abc", std::nullopt, 0},  {".", std::nullopt, 0},   {"-", std::nullopt, 0},
      {"2.5", 2.5, 2},           {"1.5", 1.5, 2},          {"-0.5", -0.5, 0},
      {"-1.5", -1.5, -2},        {"32767.4", 32767.4, 32767},
      {"32767.5", 32767.5, std::nullopt},                  {"-32768.5", -32768.5, -32768},
      {"-32768.6", -32768.6, std::nullopt},                {"40000", 40000, std::nullopt},
      {"1e999", inf, std::nullopt},                        {"-1e999", -inf, std::nullopt},
      {"1e-999", 0, 0},          {"   7", 7, 7},           {"+3", 3, 3},
      {"-2.5e1x", -25, -25},     {"3e", 3, 3},             {"3,7", 3, 3},
      {"1E2", 100, 100},         {"+-1", std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + std::string(c.text) + "\"");
    EXPECT_EQ(osm::leadingNumber(c.text), c.leading);
    const auto box = osm::boxNumber(c.text);
    EXPECT_EQ(box ? std::optional<int>(*box) : std::nullopt, c.box);
  }
  // A box that holds a number and nothing else: what a run is allowed to write.
  const std::pair<std::string_view, std::optional<int>> typed[] = {
      {"13", 13},        {" 13 ", 13},         {"+7", 7},           {"12.6", 13},
      {"-2.5e1", -25},   {"32767", 32767},     {"-32768", -32768},  {"32768", std::nullopt},
      {"99999", std::nullopt},                 {"-32769", std::nullopt},
      {"abc", std::nullopt}, {"", std::nullopt}, {"  ", std::nullopt}, {"25m", std::nullopt},
      {"3,7", std::nullopt}, {"1 2", std::nullopt}, {"-", std::nullopt}, {"1e999", std::nullopt},
  };
  for (const auto& [text, expected] : typed) {
    const auto number = osm::typedNumber(text);
    EXPECT_EQ(number ? std::optional<int>(*number) : std::nullopt, expected) << '"' << text << '"';
  }
  // Written back without a leading zero and with a blank in the sign place.
  const std::pair<float, std::string_view> written[] = {
      {0.27f, " .27"}, {-0.5f, "-.5"}, {12.0f, " 12"}, {0.0f, " 0"}, {1.5f, " 1.5"}, {-3.0f, "-3"}};
  for (const auto& [value, text] : written) EXPECT_EQ(osm::numberText(value), text) << value;
}

using Records = std::vector<std::string>;

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
    osm::NodeRecordCutter cutter(c.text, c.begin, c.limit);
    Records got;
    for (std::string_view record; cutter.next(record);) got.emplace_back(record);
    EXPECT_EQ(got, c.expected);
  }
}

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

    // Positions of records in their text, so that the same view is required, not equal bytes.
    std::vector<std::pair<size_t, size_t>> expected, got;
    osm::NodeRecordCutter cutter(text);
    for (std::string_view record; cutter.next(record);) {
      const std::string seen = ignoreCase ? folded(record) : std::string(record);
      if (seen.find(ignoreCase ? "ab" : wanted) != std::string::npos) {
        expected.emplace_back(record.data() - text.data(), record.size());
      }
    }
    // Windows of random length, as a scan that keeps the window alive asks for them.
    using Case = TextFinder::Case;
    osm::RecordsHolding holding(text, {wanted, ignoreCase ? Case::Ignore : Case::Exact});
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
