#include "gpi/xml_text.h"

#include <algorithm>
#include <cstring>

#include "osm/text_search.h"

namespace waymint::gpi {
namespace {

constexpr std::string_view cdataOpen = "<![CDATA[";
constexpr std::string_view cdataClose = "]]>";
constexpr std::string_view commentOpen = "<!--";
constexpr std::string_view commentClose = "-->";

bool startsWith(const char* at, const char* end, std::string_view prefix) {
  return static_cast<size_t>(end - at) >= prefix.size() &&
         std::memcmp(at, prefix.data(), prefix.size()) == 0;
}

// The end of `close` searched from `at`, or `end` when it is missing.
const char* after(const char* at, const char* end, std::string_view close) {
  const size_t found = osm::findText(std::string_view(at, end - at), close);
  return found == osm::npos ? end : at + found + close.size();
}

// The character a numeric reference's digits name, or 0 when they name none.
char32_t numericReference(std::string_view digits) {
  int base = 10;
  if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
    base = 16;
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 8) return 0;
  char32_t value = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return 0;
    value = value * base + digit;
  }
  if (value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) return 0;
  return value;
}

// The character a reference's name (between "&" and ";") stands for, or 0.
char32_t referenced(std::string_view name) {
  if (name == "amp") return '&';
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "quot") return '"';
  if (name == "apos") return '\'';
  if (!name.empty() && name[0] == '#') return numericReference(name.substr(1));
  return 0;
}

// Copies [from, to) to `out`, line ends made LF; returns the new end of the output.
char* copyText(const char* from, const char* to, char* out) {
  while (from < to) {
    if (*from == '\r') {
      *out++ = '\n';
      if (++from < to && *from == '\n') ++from;
    } else {
      *out++ = *from++;
    }
  }
  return out;
}

}  // namespace

std::string_view decodeXmlText(char* begin, char* end, CodePage page) {
  char* out = begin;
  const char* at = begin;
  constexpr size_t longestReference = 12;  // "&#x0010FFFF;"
  while (at < end) {
    const char* special = at;
    while (special < end && *special != '&' && *special != '<') ++special;
    out = copyText(at, special, out);
    at = special;
    if (at == end) break;
    if (*at == '&') {
      const size_t reach = std::min<size_t>(end - at, longestReference);
      const void* semicolon = std::memchr(at, ';', reach);
      const char32_t character =
          semicolon
              ? referenced(std::string_view(at + 1, static_cast<const char*>(semicolon) - at - 1))
              : 0;
      if (character == 0) {
        *out++ = *at++;
        continue;
      }
      // The reference takes at least as many bytes as its character: no byte not yet read
      // is overwritten.
      out += encodeCharacter(character, page, out);
      at = static_cast<const char*>(semicolon) + 1;
    } else if (startsWith(at, end, cdataOpen)) {
      const char* content = at + cdataOpen.size();
      const size_t length = osm::findText(std::string_view(content, end - content), cdataClose);
      const char* contentEnd = length == osm::npos ? end : content + length;
      out = copyText(content, contentEnd, out);
      at = contentEnd == end ? end : contentEnd + cdataClose.size();
    } else if (startsWith(at, end, commentOpen)) {
      at = after(at + commentOpen.size(), end, commentClose);
    } else {
      at = after(at, end, ">");
    }
  }
  return std::string_view(begin, out - begin);
}

}  // namespace waymint::gpi
