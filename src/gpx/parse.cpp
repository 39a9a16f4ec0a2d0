#include <cctype>
#include "gpx/parse.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>

#include "app/program.h"
#include "osm/text_search.h"
#include "gpx/gpx_document.h"
#include "gpx/poi_name.h"

namespace waymint::gpx {
namespace {

using osm::npos;

// Searches and pieces with 1-based positions, 0 meaning "not found", so that the name rule
// reads as it is defined.
std::int64_t find1(std::string_view t, std::string_view p, std::int64_t from) {
  const size_t at = osm::findText(t, p, static_cast<size_t>(from - 1));
  return at == npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

std::string_view sub1(std::string_view t, std::int64_t start, std::int64_t count) {
  const auto first = static_cast<size_t>(start - 1);
  if (first >= t.size()) return {};
  return t.substr(first, static_cast<size_t>(count));
}

// Lists `nam` in `found` unless the run has taken a POI of that name before. With exact
// categories every POI of the category is taken: two car parks of one name are two places,
// and even two at one place are two objects of the file.
bool takeName(app::State& state, platform::ListBox& found, std::string nam) {
  if (state.choices.exact) {
    found.addItem(std::move(nam));
    return true;
  }
  const size_t hash = std::hash<std::string_view>{}(nam);
  for (auto [taken, end] = state.seennames.equal_range(hash); taken != end; ++taken) {
    if (found.item(taken->second) == nam) return false;
  }
  // The name is taken: listed, and known by its place in the list.
  found.addItem(std::move(nam));
  state.seennames.emplace(hash, found.count() - 1);
  return true;
}

}  // namespace

std::string fnstrip(std::string_view s1) {
  std::string result(s1);
  for (char& c : result) {
    if (static_cast<unsigned char>(c) > 'z') c = '_';
  }
  return result;
}

namespace {

// Whether XML can hold the character `code`, written as it is or as a reference.
bool xmlCharacter(std::uint32_t code) {
  return code == '\t' || code == '\n' || code == '\r' || (code >= 0x20 && code <= 0xD7FF) ||
         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The length of the character reference at the start of `text` ("&#0;", "&#x1b;") when it
// refers to a character that XML cannot hold; 0 when `text` begins with no such reference.
size_t unusableReference(std::string_view text) {
  if (!text.starts_with("&#")) return 0;
  const bool hexadecimal = text.size() > 2 && text[2] == 'x';
  const std::uint32_t base = hexadecimal ? 16 : 10;
  std::uint32_t code = 0;
  size_t at = hexadecimal ? 3 : 2;
  const size_t first = at;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    const std::uint32_t digit = c >= '0' && c <= '9'                  ? c - '0'
                                : hexadecimal && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                : hexadecimal && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                      : base;
    if (digit >= base) break;
    code = std::min<std::uint32_t>(code * base + digit, 0x110000);  // past the last character
  }
  if (at == first || at == text.size() || text[at] != ';') return 0;
  return xmlCharacter(code) ? 0 : at + 1;
}

// Whether `text` begins with a reference an XML reader resolves: one of XML's five named
// entities, or a character reference to a character XML can hold.
bool wellFormedReference(std::string_view text) {
  for (const std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
    if (text.starts_with(entity)) return true;
  }
  if (!text.starts_with("&#")) return false;
  const bool hexadecimal = text.size() > 2 && text[2] == 'x';
  const size_t first = hexadecimal ? 3 : 2;
  size_t at = first;
  while (at < text.size() && (hexadecimal ? std::isxdigit(static_cast<unsigned char>(text[at]))
                                          : std::isdigit(static_cast<unsigned char>(text[at])))) {
    ++at;
  }
  return at > first && at < text.size() && text[at] == ';' && unusableReference(text) == 0;
}

}  // namespace

void replaceControls(std::string& name) {
  for (char& c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 && c != '\t' && c != '\r' && c != '\n') c = '_';
  }
  for (size_t at = name.find("&#"); at != std::string::npos; at = name.find("&#", at + 1)) {
    if (const size_t length = unusableReference(std::string_view(name).substr(at))) {
      name.replace(at, length, "_");
    }
  }
  // A "<", or an "&" that begins no reference, can only come from a file that is not XML
  // itself; written as it is, it would make the GPX unreadable.
  for (size_t at = name.find_first_of("&<"); at != std::string::npos;
       at = name.find_first_of("&<", at + 1)) {
    if (name[at] == '<' || !wellFormedReference(std::string_view(name).substr(at))) name[at] = '_';
  }
}

std::optional<std::string_view> attributeValue(std::string_view s1, std::string_view key) {
  const size_t at = osm::findText(s1, key);
  if (at == npos) return std::nullopt;
  const size_t value = at + key.size();
  if (value < s1.size() && (s1[value] == '"' || s1[value] == '\'')) {
    const size_t close = s1.find(s1[value], value + 1);
    return s1.substr(value + 1, close == npos ? npos : close - value - 1);
  }
  const size_t end = s1.find_first_of(" >/\r\n", value);
  return s1.substr(value, end == npos ? npos : end - value);
}

std::string_view rawName(std::string_view s1) {
  const std::int64_t e = find1(s1, "=\"name", 1);
  const std::int64_t f = find1(s1, "v=", e + 1);
  const std::int64_t g = find1(s1, "/>", f + 1);
  const std::int64_t n = g >= f + 4 ? g - f - 4 : std::llabs(f + 6 - g) + 2;
  return sub1(s1, f + 3, n);
}

void parse(app::Program& program, std::string_view s1, bool aa, GpxDocument& document) {
  app::State& state = program.state;
  const auto latValue = attributeValue(s1, "lat=");
  const auto lonValue = attributeValue(s1, "lon=");
  if (!latValue || !lonValue) return;
  std::string lat = osm::replaceAll(*latValue, "\"", "");
  std::string lon = osm::replaceAll(*lonValue, "\"", "");
  replaceControls(lat);
  replaceControls(lon);

  std::string nam = poiName(s1, state.category, state.choices, document.encoding());
  // Named as the category is: compared before the cleaning, so that such a name is told by its
  // own bytes, as every other name is.
  const bool namedAsCategory = nam == state.category;
  replaceControls(nam);
  if (namedAsCategory) nam += ":" + lat + "," + lon;
  platform::ListBox& found = program.f1.List1(0);
  if (!takeName(state, found, std::move(nam))) return;
  const std::string& name = found.item(found.count() - 1);

  // When lon was the start tag's last attribute, the rest of the tag goes.
  if (const size_t gt = lon.find('>'); gt != std::string::npos) lon.resize(gt);
  // Already in the file: its name counts as taken all the same, so that a second POI of that
  // name, left out when the file was written, stays out.
  if (aa && state.merging && document.holds(wptLine(lat, lon))) return;
  if (!aa) return;
  program.f1.List2.addItem(name);
  addgpx(program, document, lat, lon, name, s1);
}

}  // namespace waymint::gpx
