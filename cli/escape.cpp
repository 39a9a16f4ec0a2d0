#include "cli/escape.h"

namespace waymint::cli {
namespace {

void appendEscaped(std::string& out, char c) {
  const auto code = static_cast<unsigned char>(c);
  switch (c) {
    case '\n': out += "\\n"; return;
    case '\t': out += "\\t"; return;
    case '\r': out += "\\r"; return;
    default: break;
  }
  if (code < 0x20 || code == 0x7F) {
    constexpr char hex[] = "0123456789abcdef";
    out += "\\x";
    out += hex[code >> 4];
    out += hex[code & 0x0F];
  } else {
    out += c;
  }
}

}  // namespace

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) appendEscaped(out, c);
  return out;
}

std::string escapedMessage(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') {
      out += '\n';
    } else {
      appendEscaped(out, text[i]);
    }
  }
  return out;
}

}  // namespace waymint::cli
