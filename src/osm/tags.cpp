#include "osm/tags.h"

#include <cstring>

#include "osm/text_search.h"

namespace waymint::osm {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads the attributes of one tag element from `at`: sets the key and value it finds, and
// leaves `at` after the element's end ("/>" or ">"). False when the text ends inside it.
bool readAttributes(std::string_view text, size_t& at, Tag& tag) {
  while (at < text.size()) {
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at >= text.size()) return false;
    if (text[at] == '>') {
      ++at;
      return true;
    }
    if (text.compare(at, 2, "/>") == 0) {
      at += 2;
      return true;
    }
    const size_t nameStart = at;
    while (at < text.size() && text[at] != '=' && !isBlank(text[at]) && text[at] != '>' &&
           text[at] != '/') {
      ++at;
    }
    const std::string_view name = text.substr(nameStart, at - nameStart);
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at >= text.size() || text[at] != '=') {
      // Not an attribute: the element is not what a tag is; skip a byte and go on.
      at = at > nameStart ? at : at + 1;
      continue;
    }
    ++at;
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) continue;
    const size_t close = text.find(text[at], at + 1);
    if (close == npos) return false;
    const std::string_view value = text.substr(at + 1, close - at - 1);
    if (name == "k") tag.key = value;
    if (name == "v") tag.value = value;
    at = close + 1;
  }
  return false;
}

}  // namespace

bool TagReader::next(Tag& tag) {
  while (true) {
    const size_t open = findText(m_rest, "<tag");
    if (open == npos || open + 4 >= m_rest.size()) {
      m_rest = {};
      return false;
    }
    size_t at = open + 4;
    if (!isBlank(m_rest[at])) {
      m_rest.remove_prefix(at);
      continue;
    }
    Tag found;
    const bool whole = readAttributes(m_rest, at, found);
    m_rest.remove_prefix(at);
    if (!whole) {
      m_rest = {};
      return false;
    }
    if (found.key.empty() || found.value.data() == nullptr) continue;
    tag = found;
    return true;
  }
}

bool isPoiKey(std::string_view key) {
  for (std::string_view known : poiKeys) {
    if (key == known) return true;
  }
  return false;
}

bool equalsLowered(std::string_view value, std::string_view lower) {
  if (value.size() != lower.size()) return false;
  for (size_t i = 0; i < value.size(); ++i) {
    if (lowerAscii(value[i]) != lower[i]) return false;
  }
  return true;
}

bool hasPoiValue(std::string_view record, std::string_view lower) {
  TagReader tags(record);
  for (Tag tag; tags.next(tag);) {
    if (isPoiKey(tag.key) && equalsLowered(tag.value, lower)) return true;
  }
  return false;
}

}  // namespace waymint::osm
