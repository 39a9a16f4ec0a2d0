#include "cli/escape.h"

#include <cstdint>

namespace waymint::cli {
namespace {

constexpr char hex[] = "0123456789abcdef";

void appendHex(std::string& out, std::uint32_t value, int digits) {
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += hex[(value >> shift) & 0x0F];
}

// The length of the valid UTF-8 character at the start of `text` and its code point; 0 when
// the first byte begins none (a lone continuation byte, a byte of another code page, a cut or
// overlong sequence).
size_t utf8Character(std::string_view text, std::uint32_t& code) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  std::uint32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

// Characters that a terminal obeys rather than shows: the C1 controls (U+0080 to U+009F),
// which some terminals take as ESC and a letter, and the bidirectional embeddings, overrides
// and isolates, which turn what follows them around on the screen.
bool obeyed(std::uint32_t code) {
  return (code >= 0x80 && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069);
}

// Appends the escaped form of the character at the start of `text`; gives the bytes it took.
size_t appendEscaped(std::string& out, std::string_view text) {
  const char c = text.front();
  const auto code = static_cast<unsigned char>(c);
  switch (c) {
    case '\n': out += "\\n"; return 1;
    case '\t': out += "\\t"; return 1;
    case '\r': out += "\\r"; return 1;
    default: break;
  }
  if (code < 0x20 || code == 0x7F) {
    out += "\\x";
    appendHex(out, code, 2);
    return 1;
  }
  if (code < 0x80) {
    out += c;
    return 1;
  }
  std::uint32_t point = 0;
  if (const size_t length = utf8Character(text, point)) {
    if (obeyed(point)) {
      out += "\\u";
      appendHex(out, point, 4);
    } else {
      out.append(text.substr(0, length));
    }
    return length;
  }
  // A byte of no UTF-8 character: in the range of the C1 controls it is one to an 8-bit
  // terminal (0x9B is CSI); above it, a letter of the Latin code pages.
  if (code <= 0x9F) {
    out += "\\x";
    appendHex(out, code, 2);
  } else {
    out += c;
  }
  return 1;
}

}  // namespace

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) text.remove_prefix(appendEscaped(out, text));
  return out;
}

std::string escapedMessage(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    if (text.starts_with("\r\n")) text.remove_prefix(1);
    if (text.front() == '\n') {
      out += '\n';
      text.remove_prefix(1);
    } else {
      text.remove_prefix(appendEscaped(out, text));
    }
  }
  return out;
}

}  // namespace waymint::cli
