#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "input/filtered_piece.h"
#include "input/format.h"
#include "reading.h"
#include "support/case_table.h"
#include "support/kept_text.h"

namespace waymint::testing {
namespace {

// The text cut into pieces filtered apart (each handed over in parts, as bzip2 blocks are
// decoded), then joined in order, as the parallel readers do.
std::string filteredInPieces(std::string_view text, const std::vector<size_t>& cuts,
                             size_t leadingCap, std::mt19937& random) {
  input::StringOutput out;
  input::TaggedNodeFilter whole(out);
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const std::string_view piece = text.substr(cuts[i], cuts[i + 1] - cuts[i]);
    input::PieceFilter filter(leadingCap);
    const std::vector<size_t> parts = randomCuts(random, piece.size(), 1 + random() % 3);
    for (size_t k = 0; k + 1 < parts.size(); ++k) filter.feed(piece.substr(parts[k], parts[k + 1] - parts[k]));
    const input::FilteredPiece result = filter.finish();
    input::joinPiece(whole, out, result, [&](size_t offset, const auto& take) {
      const size_t end = result.sawNode ? piece.find("<node ") : piece.size() - result.tail.size();
      const size_t part = std::max<size_t>(3, (end - offset) / 7);
      for (size_t at = offset; at < end && take(piece.substr(at, std::min(part, end - at)));) at += part;
    });
  }
  whole.finish();
  return out.text;
}

TEST(TaggedNodeFilter, KeepsTheHeadAndTheRecordsHoldingATag) {
  for (const std::vector<std::string>& c : caseTable("input/data/tagged_node_filter.tsv", 2)) {
    EXPECT_EQ(filtered(c[0]), c[1]) << c[0];
    EXPECT_EQ(keptReference(c[0]), c[1]) << c[0];
  }
  const std::string longHead(100000, ' ');
  EXPECT_EQ(filtered(longHead + "<node <tag >"), std::string(input::headSize, ' ') + "<node <tag >");
}

TEST(TaggedNodeFilter, TheKeptTextIsTheSameHoweverTheTextArrives) {
  std::mt19937 random(20);
  for (int round = 0; round < 400; ++round) {
    const std::string text = awkwardOsmText(random, 1 + round % 40);
    const std::string kept = keptReference(text);
    SCOPED_TRACE(text);
    ASSERT_EQ(filtered(text), kept);
    ASSERT_EQ(filtered(text, randomCuts(random, text.size(), 2 + random() % 30)), kept);
    ASSERT_EQ(filteredInPieces(text, randomCuts(random, text.size(), 1 + random() % 8), 1 + random() % 40, random), kept);
    ASSERT_EQ(filteredInPieces(text, randomCuts(random, text.size(), 1 + random() % 8), 1 << 20, random), kept);
  }
}

TEST(TaggedNodeFilter, EveryPlaceOfACutBetweenTwoPieces) {
  std::mt19937 random(21);
  for (int round = 0; round < 20; ++round) {
    const std::string text = awkwardOsmText(random, 25);
    const std::string kept = keptReference(text);
    for (size_t cut = 0; cut <= text.size(); ++cut) {
      ASSERT_EQ(filtered(text, {0, cut, text.size()}), kept) << cut << ": " << text;
      ASSERT_EQ(filteredInPieces(text, {0, cut, text.size()}, 5, random), kept) << cut << ": " << text;
    }
  }
}

// A record whose end is not in sight after longestRecord bytes is cut there; the next record
// is found all the same, and a record just short of that is kept whole.
TEST(TaggedNodeFilter, ARecordWithoutEndIsCutAtTheLongestKept) {
  const size_t longest = input::longestRecord;
  const std::string tagged = "<osm><node a><tag k/>";
  std::string text = tagged + std::string(longest, 'x') + "</node><node b><tag c/></node>";
  const std::string kept = tagged + std::string(longest - 10, 'x') + "<node b><tag c/></node>";
  EXPECT_TRUE(filtered(text, {0, 1000, text.size() - 9, text.size()}) == kept);
  std::mt19937 random(22);
  EXPECT_TRUE(filteredInPieces(text, {0, 7, 64 << 20, text.size()}, 1 << 20, random) == kept);

  const std::string whole = tagged + std::string(longest - 11, 'x') + "</node><node b/>";
  EXPECT_TRUE(filtered(whole, {0, 5000, whole.size()}) == whole.substr(0, whole.size() - 9));
}

}  // namespace
}  // namespace waymint::testing
