#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace waymint::gpx {

// The whole number that the text of an alert box ("Speed", "Proximity") gives: its leading
// number (0 when it has none), rounded to the nearest integer with a half going to the even
// neighbour. Nothing when that lies outside -32768..32767.
std::optional<std::int16_t> boxNumber(std::string_view text);

}  // namespace waymint::gpx
