#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace waymint::platform {

// Percentage of physical memory in use, 0 to 100, as the system reports it; nothing
// when it cannot be told.
std::optional<int> physicalMemoryLoadPercent();
// The same from the text of /proc/meminfo: (MemTotal - MemAvailable) / MemTotal.
std::optional<int> memoryLoadFromMeminfo(std::string_view meminfo);

// Bytes of memory the program may still take without pushing others out (MemAvailable), or
// nothing when it cannot be told.
std::optional<std::uint64_t> availableMemory();
std::optional<std::uint64_t> availableMemoryFromMeminfo(std::string_view meminfo);

}  // namespace waymint::platform
