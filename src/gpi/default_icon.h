#pragma once

#include <string_view>

namespace waymint::gpi::detail {

// The bytes of default_icon.bmp, embedded by the build.
std::string_view defaultIconBytes();

}  // namespace waymint::gpi::detail
