#include "gpx/box_number.h"

#include <cmath>

#include "app/number_text.h"

namespace waymint::gpx {

std::optional<std::int16_t> boxNumber(std::string_view text) {
  const double value = app::leadingNumber(text).value_or(0.0);
  double rounded = std::round(value);
  if (std::fabs(value - std::trunc(value)) == 0.5) rounded = 2.0 * std::round(value / 2.0);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace waymint::gpx
