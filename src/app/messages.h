#pragma once

#include <string_view>

namespace waymint::app {

// The texts that several parts of the program show, each in the words of the platform's own
// descriptions of such failures.
inline constexpr std::string_view invalidCallMessage = "Invalid procedure call or argument";
inline constexpr std::string_view overflowMessage = "Overflow";
inline constexpr std::string_view outOfMemoryMessage = "Out of memory";

}  // namespace waymint::app
