#pragma once

#include <optional>
#include <string_view>

namespace waymint::platform {

// Percentage of physical memory in use, 0 to 100, as the system reports it; nothing
// when it cannot be told.
std::optional<int> physicalMemoryLoadPercent();
// The same from the text of /proc/meminfo: (MemTotal - MemAvailable) / MemTotal.
std::optional<int> memoryLoadFromMeminfo(std::string_view meminfo);

}  // namespace waymint::platform
