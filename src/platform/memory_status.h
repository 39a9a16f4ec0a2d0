#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace waymint::platform {

// Percentage of physical memory in use, 0 to 100, as the system reports it; nothing
// when it cannot be told.
std::optional<int> physicalMemoryLoadPercent();
// The same from the text of /proc/meminfo: (MemTotal - MemAvailable) / MemTotal.
std::optional<int> memoryLoadFromMeminfo(std::string_view meminfo);

// Bytes of memory the program may still take without pushing others out: the smallest of the
// machine's available memory (MemAvailable) and the room that the process's own limits and
// its control groups leave (see memory_limits.h); nothing when none can be told. `root`: the
// folder the system's files are read under, empty for this machine's own.
std::optional<std::uint64_t> availableMemory(const std::string& root = {});
std::optional<std::uint64_t> availableMemoryFromMeminfo(std::string_view meminfo);

// Bytes of memory the program holds (its resident set), or nothing when it cannot be told.
std::optional<std::uint64_t> residentMemory();
// The same from the text of /proc/self/statm and the size of a page.
std::optional<std::uint64_t> residentFromStatm(std::string_view statm, std::uint64_t pageSize);

}  // namespace waymint::platform
