#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace waymint::gpi {

// The code pages a GPI file is written in: its texts are bytes of this page, and its POI header
// names it. A GPX declared as UTF-8 gives a UTF-8 file, one declared as Windows-1252 (or
// Latin-1 or ASCII, which it contains) a Windows-1252 one.
enum class CodePage : std::uint16_t { Windows1252 = 1252, Utf8 = 65001 };

// The Unicode character of a Windows-1252 byte. The five bytes the page leaves undefined stand
// for the control characters of the same number.
char32_t fromWindows1252(unsigned char byte);

// Writes `character` in `page` at `out` (room for 4 bytes) and returns how many bytes it took.
// A character the page cannot hold is written as "?".
size_t encodeCharacter(char32_t character, CodePage page, char* out);

// The character that begins `text` (well-formed UTF-8) and how many bytes it takes; a byte that
// begins no well-formed sequence counts as one byte with the value 0xFFFFFFFF.
struct Decoded {
  char32_t character;
  size_t size;
};
Decoded decodeUtf8(std::string_view text);
bool isWellFormedUtf8(std::string_view text);

// Replaces every byte of `text` that is not part of a well-formed UTF-8 sequence by "?", in
// place, so that the file never holds broken UTF-8.
void repairUtf8(char* text, size_t size);

// `text` without white space at either end: the ASCII blanks and line ends, and the Unicode
// spaces (no-break space, em space, ideographic space and the like).
std::string_view trimmed(std::string_view text, CodePage page);

// True when `a` comes before `b` in the order POIs are listed in a file: by the characters'
// UTF-16 code units, as GPSBabel sorts them (a character beyond U+FFFF therefore comes before
// one from U+E000 to U+FFFF); a text comes before the texts it begins.
bool sortsBefore(std::string_view a, std::string_view b, CodePage page);

// The longest start of `text` of at most `limit` bytes that does not end inside a character.
std::string_view cutToCharacters(std::string_view text, size_t limit, CodePage page);

// A text from outside the GPX (the category's name) in `page`. Taken as UTF-8 when it is
// well-formed UTF-8, otherwise as Windows-1252, as the program shows such texts.
std::string convertText(std::string_view text, CodePage page);

}  // namespace waymint::gpi
