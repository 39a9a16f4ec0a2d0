#pragma once

#include <cstdint>
#include <string_view>

namespace waymint::gpi {

// A waypoint as a GPI file holds it. The texts are in the file's code page, without white
// space at either end; an empty one is absent. They are views into bytes someone else holds.
struct Waypoint {
  double lat = 0;                // degrees, -90 to 90
  double lon = 0;                // degrees, -180 to 180
  std::string_view name;         // never empty
  std::string_view description;  // the comment, else the description, else the name
  std::string_view street;
  std::string_view city;
  std::string_view state;
  std::string_view country;
  std::string_view postalCode;
  std::string_view phone;
  std::uint16_t proximity = 0;  // metres of the proximity alert; 0 when it has none
};

}  // namespace waymint::gpi
