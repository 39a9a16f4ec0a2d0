#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace waymint::osm {

// A single-precision number as the program writes it in its caption and state file: a
// blank in the sign place of a non-negative number and no zero before the decimal point
// (0.27 gives " .27", -0.5 gives "-.5", 12 gives " 12").
std::string numberText(float value);

// The number at the start of a text: blanks skipped, an optional sign, digits, a decimal
// point (always the point) and an exponent, up to the first character that does not fit.
// Nothing when the text does not start with a number.
std::optional<double> leadingNumber(std::string_view text);

// The whole number that the text of a number box ("Speed", "Proximity") gives: its leading
// number (0 when it has none), rounded to the nearest integer with a half going to the even
// neighbour. Nothing when that lies outside -32768..32767.
std::optional<std::int16_t> boxNumber(std::string_view text);

// The whole number of a number box that holds a number and nothing else but blanks around
// it, rounded as boxNumber rounds it. Nothing for any other text ("", "abc", "12 m") and for
// a number outside -32768..32767.
std::optional<std::int16_t> typedNumber(std::string_view text);

}  // namespace waymint::osm
