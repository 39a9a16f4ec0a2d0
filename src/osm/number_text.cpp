#include "osm/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "osm/text_search.h"

namespace waymint::osm {

std::string numberText(float value) {
  // to_chars writes C text whatever the user's locale; seven digits as a single holds.
  char digits[32];
  auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 7).ptr;
  std::string text(digits, end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  bool negative = !text.empty() && text[0] == '-';
  size_t first = negative ? 1 : 0;
  if (text.compare(first, 2, "0.") == 0) text.erase(first, 1);
  return negative ? text : " " + text;
}

namespace {

// The number at the start of `text` and where it ends.
std::optional<double> readNumber(std::string_view text, size_t& end) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t exponentDigits = 0;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j, ++exponentDigits;
    if (exponentDigits > 0) i = j;
  }
  // from_chars reads C text whatever the user's locale; it takes no plus sign.
  size_t from = start < text.size() && text[start] == '+' ? start + 1 : start;
  const std::string_view number = text.substr(from, i - from);
  double value = 0.0;
  if (std::from_chars(number.data(), number.data() + number.size(), value).ec ==
      std::errc::result_out_of_range) {
    // Beyond a double: a negative exponent makes it nought, any other infinitely big.
    const size_t exponent = number.find_first_of("eE");
    const bool tiny = exponent != npos && number[exponent + 1] == '-';
    const double huge = std::numeric_limits<double>::infinity();
    value = tiny ? 0.0 : (number.front() == '-' ? -huge : huge);
  }
  end = i;
  return value;
}

std::optional<std::int16_t> inBoxRange(double value) {
  // The default rounding mode takes a half to the even neighbour.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

std::optional<double> leadingNumber(std::string_view text) {
  size_t end = 0;
  return readNumber(text, end);
}

std::optional<std::int16_t> boxNumber(std::string_view text) {
  return inBoxRange(leadingNumber(text).value_or(0.0));
}

std::optional<std::int16_t> typedNumber(std::string_view text) {
  size_t end = 0;
  const std::optional<double> value = readNumber(text, end);
  if (!value) return std::nullopt;
  while (end < text.size() && text[end] == ' ') ++end;
  if (end != text.size()) return std::nullopt;
  return inBoxRange(*value);
}

}  // namespace waymint::osm
