#include "gpx/waypoint_text.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "osm/text_search.h"

namespace waymint::gpx {
namespace {

// Windows-1252 from 0x80 to 0x9F; 0 where it has no character.
constexpr std::array<char32_t, 32> windows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t unreadable = '_';

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (osm::lowerAscii(a[i]) != osm::lowerAscii(b[i])) return false;
  }
  return true;
}

// The character a UTF-8 sequence at `at` begins, moving `at` past it; a byte that begins no
// whole, shortest sequence is taken alone as `unreadable`.
char32_t nextCharacter(std::string_view text, size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (more < 0 || at + more > text.size()) return unreadable;
  char32_t c = lead & (0x3F >> more);
  for (int i = 0; i < more; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if ((byte & 0xC0) != 0x80) return unreadable;
    c = (c << 6) | (byte & 0x3F);
  }
  const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
  if (c < smallest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return unreadable;
  at += more;
  return c;
}

// The character an entity or character reference at `at` ("&amp;", "&#233;", "&#xE9;")
// stands for, moving `at` past it; a "&" that begins none stands for itself.
char32_t nextReference(std::string_view text, size_t& at) {
  const size_t semicolon = text.find(';', at);
  if (semicolon == osm::npos || semicolon - at > 12) {
    ++at;
    return '&';
  }
  const std::string_view name = text.substr(at + 1, semicolon - at - 1);
  char32_t c = 0;
  if (name == "amp") c = '&';
  if (name == "lt") c = '<';
  if (name == "gt") c = '>';
  if (name == "quot") c = '"';
  if (name == "apos") c = '\'';
  if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, hex ? 16 : 10);
    if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty() &&
        number <= 0x10FFFF && !(number >= 0xD800 && number <= 0xDFFF)) {
      c = number == 0 ? ' ' : number;
    }
  }
  if (c == 0) {
    ++at;
    return '&';
  }
  at = semicolon + 1;
  return c;
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The Windows-1252 byte of `c`, or 0 when it has none.
unsigned char windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (size_t i = 0; i < windows1252High.size(); ++i) {
    if (windows1252High[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return 0;
}

void appendEncoded(std::string& out, char32_t c, GpxEncoding encoding) {
  switch (c) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    default: break;
  }
  if (encoding == GpxEncoding::Utf8) {
    appendUtf8(out, c);
    return;
  }
  const unsigned char byte = windows1252Byte(c);
  if (byte != 0 && (byte < 0x80 || encoding == GpxEncoding::Windows1252)) {
    out += static_cast<char>(byte);
    return;
  }
  char digits[8];
  out += "&#x";
  out.append(digits, std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(c), 16).ptr);
  out += ';';
}

size_t utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

}  // namespace

GpxEncoding declaredEncoding(std::string_view gpx) {
  if (gpx.starts_with("\xEF\xBB\xBF")) gpx.remove_prefix(3);
  if (!gpx.starts_with("<?xml")) return GpxEncoding::Utf8;
  const std::string_view declaration = gpx.substr(0, gpx.find("?>"));
  const size_t at = declaration.find("encoding");
  if (at == osm::npos) return GpxEncoding::Utf8;
  const size_t open = declaration.find_first_of("\"'", at);
  if (open == osm::npos) return GpxEncoding::Ascii;
  const size_t close = declaration.find(declaration[open], open + 1);
  const std::string_view name = declaration.substr(open + 1, close - open - 1);
  for (std::string_view utf8 : {"utf-8", "utf8"}) {
    if (equalsIgnoringCase(name, utf8)) return GpxEncoding::Utf8;
  }
  for (std::string_view western : {"windows-1252", "cp1252"}) {
    if (equalsIgnoringCase(name, western)) return GpxEncoding::Windows1252;
  }
  return GpxEncoding::Ascii;
}

std::string gpxText(std::string_view value, GpxEncoding encoding, size_t limit) {
  std::string out;
  size_t kept = 0;  // bytes of the value as UTF-8, for the limit
  bool blankPending = false;
  for (size_t at = 0; at < value.size();) {
    char32_t c = value[at] == '&' ? nextReference(value, at) : nextCharacter(value, at);
    if (isControl(c)) c = ' ';
    if (c == ' ') {
      blankPending = !out.empty();
      continue;
    }
    const size_t length = utf8Length(c) + (blankPending ? 1 : 0);
    if (limit != std::string_view::npos && kept + length > limit) break;
    kept += length;
    if (blankPending) out += ' ';
    blankPending = false;
    appendEncoded(out, c, encoding);
  }
  return out;
}

}  // namespace waymint::gpx
