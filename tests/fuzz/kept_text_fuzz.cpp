// The text the readers keep of any text, however it arrives (in one piece, cut anywhere, in
// pieces filtered apart and joined): the head and the plain cutter's records that hold a tag;
// and the survey and a listing run find in it what they find in the whole text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../input/reading.h"
#include "fuzz_program.h"
#include "gpx/create_gpx.h"
#include "input/filtered_piece.h"
#include "support/kept_text.h"
#include "survey/get_tags.h"

using namespace waymint;

namespace {

// Cuts taken from the text's own bytes.
std::vector<size_t> cutsOf(std::string_view text) {
  std::vector<size_t> cuts{0};
  std::uint32_t state = 2166136261U;
  for (char c : text.substr(0, 64)) state = (state ^ static_cast<unsigned char>(c)) * 16777619U;
  for (size_t at = 0; text.size() > 0 && cuts.size() < 12;) {
    state = state * 1103515245U + 12345U;
    at += 1 + (state >> 8) % (text.size() / 4 + 2);
    if (at >= text.size()) break;
    cuts.push_back(at);
  }
  cuts.push_back(text.size());
  return cuts;
}

std::string joined(std::string_view text, const std::vector<size_t>& cuts) {
  input::StringOutput out;
  input::TaggedNodeFilter whole(out);
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const std::string_view piece = text.substr(cuts[i], cuts[i + 1] - cuts[i]);
    input::PieceFilter filter(7);
    filter.feed(piece);
    const input::FilteredPiece result = filter.finish();
    input::joinPiece(whole, out, result, [&](size_t offset, const auto& take) {
      const std::string_view rest = piece.substr(0, result.leadingSize).substr(offset);
      for (size_t at = 0; at < rest.size() && take(rest.substr(at, 5));) at += 5;
    });
  }
  whole.finish();
  return out.text;
}

std::vector<std::string> surveyed(fuzzing::FuzzProgram& fuzz, std::string_view text) {
  fuzz.load(text);
  survey::get_tags(fuzz.program());
  return fuzz.program().f1.List1(2).items();
}

std::vector<std::string> listed(fuzzing::FuzzProgram& fuzz, std::string_view text, const std::string& category) {
  fuzz.choose(category);
  fuzz.load(text);
  gpx::create_gpx(fuzz.program(), false);
  return fuzz.program().f1.List1(0).items();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string kept = testing::keptReference(text);
  const std::vector<size_t> cuts = cutsOf(text);
  fuzzing::require(testing::filtered(text, {0, text.size()}) == kept, "the kept text of one piece");
  fuzzing::require(testing::filtered(text, cuts) == kept, "the kept text of pieces");
  fuzzing::require(joined(text, cuts) == kept, "the kept text of pieces joined");
  const std::vector<std::string> categories = surveyed(fuzz, text);
  fuzzing::require(surveyed(fuzz, kept) == categories, "the same survey");
  const std::string category = categories.empty() ? "amenity" : categories.front();
  fuzzing::require(listed(fuzz, kept, category) == listed(fuzz, text, category), "the same listing");
  fuzz.machine().forgetMessages();
  return 0;
}
