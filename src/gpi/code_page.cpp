#include "gpi/code_page.h"

#include <algorithm>
#include <array>

namespace waymint::gpi {
namespace {

constexpr char32_t invalid = 0xFFFFFFFF;

// Windows-1252 from 0x80 to 0x9F; the undefined five keep their own number.
constexpr std::array<char32_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toWindows1252(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
    return static_cast<char>(character);
  }
  for (size_t i = 0; i < windows1252High.size(); ++i) {
    if (windows1252High[i] == character) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool isSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// The character that ends `text`, and how many bytes it takes.
Decoded lastCharacter(std::string_view text, CodePage page) {
  if (page == CodePage::Windows1252) {
    return {fromWindows1252(static_cast<unsigned char>(text.back())), 1};
  }
  size_t start = text.size() - 1;
  while (start > 0 && text.size() - start < 4 && isContinuation(text[start])) --start;
  const Decoded last = decodeUtf8(text.substr(start));
  if (last.character == invalid || start + last.size != text.size()) return {invalid, 1};
  return last;
}

Decoded firstCharacter(std::string_view text, CodePage page) {
  if (page == CodePage::Windows1252) {
    return {fromWindows1252(static_cast<unsigned char>(text.front())), 1};
  }
  return decodeUtf8(text);
}

}  // namespace

char32_t fromWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return windows1252High[byte - 0x80];
  return byte;
}

size_t encodeCharacter(char32_t c, CodePage page, char* out) {
  if (page == CodePage::Windows1252) {
    out[0] = toWindows1252(c);
    return 1;
  }
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

Decoded decodeUtf8(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  size_t size = 0;
  char32_t character = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2, character = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3, character = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4, character = lead & 0x07, smallest = 0x10000;
  } else {
    return {invalid, 1};
  }
  if (text.size() < size) return {invalid, 1};
  for (size_t i = 1; i < size; ++i) {
    if (!isContinuation(byte(i))) return {invalid, 1};
    character = (character << 6) | (byte(i) & 0x3F);
  }
  if (character < smallest || character > 0x10FFFF || (character >= 0xD800 && character < 0xE000)) {
    return {invalid, 1};
  }
  return {character, size};
}

bool isWellFormedUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const Decoded next = decodeUtf8(text.substr(at));
    if (next.character == invalid) return false;
    at += next.size;
  }
  return true;
}

void repairUtf8(char* text, size_t size) {
  for (size_t at = 0; at < size;) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    const Decoded next = decodeUtf8(std::string_view(text + at, size - at));
    if (next.character == invalid) text[at] = '?';
    at += next.size;
  }
}

std::string_view trimmed(std::string_view text, CodePage page) {
  while (!text.empty()) {
    const Decoded first = firstCharacter(text, page);
    if (first.character == invalid || !isSpace(first.character)) break;
    text.remove_prefix(first.size);
  }
  while (!text.empty()) {
    const Decoded last = lastCharacter(text, page);
    if (last.character == invalid || !isSpace(last.character)) break;
    text.remove_suffix(last.size);
  }
  return text;
}

bool sortsBefore(std::string_view a, std::string_view b, CodePage page) {
  const size_t common = std::min(a.size(), b.size());
  const auto mismatch = std::mismatch(a.begin(), a.begin() + common, b.begin());
  if (mismatch.first == a.begin() + common) return a.size() < b.size();
  const auto x = static_cast<unsigned char>(*mismatch.first);
  const auto y = static_cast<unsigned char>(*mismatch.second);
  if (page == CodePage::Windows1252) return fromWindows1252(x) < fromWindows1252(y);
  // Both differ at the first byte of a character or both inside one of the same length. Only
  // a four-byte character (two UTF-16 units from 0xD800) against one from U+E000 to U+FFFF
  // (first byte 0xEE or 0xEF) orders otherwise in UTF-16 than in UTF-8.
  const auto highPlane = [](unsigned char lead) { return lead >= 0xF0; };
  const auto privateUse = [](unsigned char lead) { return lead == 0xEE || lead == 0xEF; };
  if (highPlane(x) && privateUse(y)) return true;
  if (privateUse(x) && highPlane(y)) return false;
  return x < y;
}

std::string_view cutToCharacters(std::string_view text, size_t limit, CodePage page) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  if (page == CodePage::Utf8) {
    while (end > 0 && isContinuation(text[end])) --end;
  }
  return text.substr(0, end);
}

std::string convertText(std::string_view text, CodePage page) {
  const bool utf8 = isWellFormedUtf8(text);
  if ((utf8 && page == CodePage::Utf8) || (!utf8 && page == CodePage::Windows1252)) {
    return std::string(text);
  }
  std::string out;
  out.reserve(text.size() * 3);
  char encoded[4];
  for (size_t at = 0; at < text.size();) {
    Decoded next{fromWindows1252(static_cast<unsigned char>(text[at])), 1};
    if (utf8) next = decodeUtf8(text.substr(at));
    out.append(encoded, encodeCharacter(next.character, page, encoded));
    at += next.size;
  }
  return out;
}

}  // namespace waymint::gpi
