#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "osm/node_records.h"
#include "osm/number_text.h"
#include "osm/records_holding.h"
#include "osm/text_finder.h"
#include "osm/text_search.h"
#include "support/case_table.h"

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
  for (const auto& c : caseTable("osm/data/replace_all.tsv", 4)) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(osm::replaceAll(c[0], c[1], c[2]), c[3]);
    std::string out = "kept:";
    osm::replaceAll(out, c[0], c[1], c[2]);
    EXPECT_EQ(out, "kept:" + c[3]);
  }
  EXPECT_EQ(osm::lowerAscii('Z'), 'z');
  EXPECT_EQ(osm::lowerCase("AZaz@[`{09 \xC3\x84\xC1\xDA"), "azaz@[`{09 \xC3\x84\xC1\xDA");
}

// A number of a table, "-" for none.
template <typename Number>
std::optional<Number> numberOrNone(const std::string& field) {
  if (field == "-") return std::nullopt;
  return static_cast<Number>(std::stod(field));
}

TEST(NumberText, LeadingBoxAndWrittenNumbers) {
  for (const auto& c : caseTable("osm/data/number_text.tsv", 3)) {
    SCOPED_TRACE("\"" + c[0] + "\"");
    EXPECT_EQ(osm::leadingNumber(c[0]), numberOrNone<double>(c[1]));
    const auto box = osm::boxNumber(c[0]);
    EXPECT_EQ(box ? std::optional<int>(*box) : std::nullopt, numberOrNone<int>(c[2]));
  }
  // A box that holds a number and nothing else: what a run is allowed to write.
  for (const auto& c : caseTable("osm/data/typed_numbers.tsv", 2)) {
    const auto number = osm::typedNumber(c[0]);
    EXPECT_EQ(number ? std::optional<int>(*number) : std::nullopt, numberOrNone<int>(c[1]))
        << '"' << c[0] << '"';
  }
  for (const auto& c : caseTable("osm/data/written_numbers.tsv", 2)) {
    EXPECT_EQ(osm::numberText(std::stof(c[0])), c[1]) << c[0];
  }
}

TEST(NodeRecordCutter, EachRecordEndsWithItsNodeElement) {
  for (const auto& c : caseTable("osm/data/node_records.tsv", 4)) {
    SCOPED_TRACE(c[0] + " from " + c[2]);
    osm::NodeRecordCutter cutter(c[0], std::stoul(c[2]),
                                 c[3] == "-" ? std::string_view::npos : std::stoul(c[3]));
    std::vector<std::string> got, expected;
    for (std::string_view record; cutter.next(record);) got.emplace_back(record);
    std::istringstream records(c[1]);
    for (std::string record; std::getline(records, record, '|');) expected.push_back(record);
    EXPECT_EQ(got, expected);
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
