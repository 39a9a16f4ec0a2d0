#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace waymint::app {

// A single-precision number as the program writes it in its caption and state file: a
// blank in the sign place of a non-negative number and no zero before the decimal point
// (0.27 gives " .27", -0.5 gives "-.5", 12 gives " 12").
std::string numberText(float value);

// The number at the start of a text: blanks skipped, an optional sign, digits, a decimal
// point (always the point) and an exponent, up to the first character that does not fit.
// Nothing when the text does not start with a number.
std::optional<double> leadingNumber(std::string_view text);

}  // namespace waymint::app
