#include "survey/record_value.h"

#include <array>
#include <cstring>

#include "osm/text_search.h"

namespace waymint::survey {
namespace {

using osm::containsText;
using osm::findText;
using osm::npos;
constexpr std::string_view tagStart = "<tag ";

struct KeyWord {
  std::string_view word;  // what is searched for
  std::string_view key;   // the key it gives
};

// In test order; when several words occur, the last of its group wins.
constexpr std::array<KeyWord, 6> primaryKeys{{{"highway", "highway"},
                                              {"waterway", "waterway"},
                                              {"railway", "railway"},
                                              {"amenity", "amenity"},
                                              {"leisure", "leisure"},
                                              {"barrier", "barrier"}}};
constexpr std::array<KeyWord, 5> secondaryKeys{{{"natural", "natural"},
                                                {"power", "power"},
                                                {"tourism", "tourism"},
                                                {"histor", "historic"},
                                                {"shop", "shop"}}};

// Keys whose fragments never give a value: name and ref as prefixes of a quoted key
// (name:en, ref:bus), source and direction only as whole quoted words.
constexpr std::array<std::string_view, 4> excludedKeys{"\"name", "\"source\"", "\"direction\"",
                                                       "\"ref"};

// Position of the first "<tag " in the record. Most records have no tag at all and no "<"
// either, so a byte search for "<" settles them at once.
size_t findFirstTag(std::string_view record) {
  size_t at = 0;
  while (at < record.size()) {
    const void* hit = std::memchr(record.data() + at, '<', record.size() - at);
    if (!hit) return npos;
    const size_t lt = static_cast<size_t>(static_cast<const char*>(hit) - record.data());
    if (record.compare(lt, tagStart.size(), tagStart) == 0) return lt;
    at = lt + 1;
  }
  return npos;
}

template <size_t N>
std::string_view lastKeyFound(std::string_view examined, const std::array<KeyWord, N>& group) {
  for (auto it = group.rbegin(); it != group.rend(); ++it) {
    if (containsText(examined, it->word)) return it->key;
  }
  return {};
}

std::string_view chooseKey(std::string_view examined) {
  std::string_view key = lastKeyFound(examined, primaryKeys);
  return key.empty() ? lastKeyFound(examined, secondaryKeys) : key;
}

bool excluded(std::string_view fragment) {
  for (std::string_view text : excludedKeys) {
    if (containsText(fragment, text)) return true;
  }
  return false;
}

enum class Verdict {
  NoValue,         // the fragment gives nothing; the next one is examined
  MissingValue,    // holds the key word but no "v=": reported, the next one is examined
  Qualifies,       // gives the record's value
  NegativeLength,  // qualifies, but "/>" follows "v=" at once: reported, the record ends
};

// Whether one key fragment gives the record's value; when it does, `value` is its value text
// up to the first "/>", less the one character before it (quotes still in).
Verdict examineFragment(std::string_view fragment, std::string_view key, std::string_view& value) {
  if (!containsText(fragment, key)) return Verdict::NoValue;
  const size_t v = findText(fragment, "v=");
  if (v == npos) return Verdict::MissingValue;
  const size_t begin = v + 2;
  const size_t next = findText(fragment, "v=", begin);
  const std::string_view valueText =
      fragment.substr(begin, (next == npos ? fragment.size() : next) - begin);
  const size_t close = findText(valueText, "/>");
  if (close == npos || excluded(fragment)) return Verdict::NoValue;
  // The value stops one character short of "/>": the closing quote (or the blank after it)
  // goes, and the quotes left over are removed by the caller.
  if (close == 0) return Verdict::NegativeLength;
  value = valueText.substr(0, close - 1);
  return Verdict::Qualifies;
}

}  // namespace

void recordValue(std::string_view record, RecordValue& out) {
  out.value.clear();
  out.failures = 0;
  const size_t tag = findFirstTag(record);
  if (tag == npos) return;
  const std::string_view examined = record.substr(tag + tagStart.size());
  const std::string_view key = chooseKey(examined);
  if (key.empty()) return;

  size_t start = 0;  // fragment 0 is the text before the first "k="
  while (true) {
    const size_t cut = findText(examined, "k=", start);
    const std::string_view fragment =
        examined.substr(start, cut == npos ? npos : cut - start);
    std::string_view value;
    switch (examineFragment(fragment, key, value)) {
      case Verdict::Qualifies:
        osm::replaceAll(out.value, value, "\"", "");
        return;
      case Verdict::NegativeLength:
        ++out.failures;
        return;
      case Verdict::MissingValue:
        ++out.failures;
        break;
      case Verdict::NoValue:
        break;
    }
    if (cut == npos) return;
    start = cut + 2;
  }
}

}  // namespace waymint::survey
