#include "platform/memory_status.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "platform/files.h"
#include "platform/memory_limits.h"

namespace waymint::platform {
namespace {

std::optional<double> fieldKilobytes(std::string_view meminfo, std::string_view key) {
  files::LineReader lines(meminfo);
  std::string_view line;
  while (lines.next(line)) {
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ':') {
      std::string rest(line.substr(key.size() + 1));
      char* end = nullptr;
      double value = std::strtod(rest.c_str(), &end);
      if (end == rest.c_str()) return std::nullopt;
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> memoryLoadFromMeminfo(std::string_view meminfo) {
  auto total = fieldKilobytes(meminfo, "MemTotal");
  auto available = fieldKilobytes(meminfo, "MemAvailable");
  if (!total || !available || *total <= 0 || *available > *total) return std::nullopt;
  return static_cast<int>(std::lround(100.0 * (*total - *available) / *total));
}

std::optional<std::uint64_t> availableMemoryFromMeminfo(std::string_view meminfo) {
  auto available = fieldKilobytes(meminfo, "MemAvailable");
  if (!available || *available < 0) return std::nullopt;
  return static_cast<std::uint64_t>(*available) * 1024;
}

std::optional<std::uint64_t> availableMemory(const std::string& root) {
  std::optional<std::uint64_t> machine;
  try {
    machine = availableMemoryFromMeminfo(files::readWhole(root + "/proc/meminfo"));
  } catch (const files::IoError&) {
  }
  return smallest({machine, processLimitRoom(root), controlGroupRoom(root)});
}

std::optional<int> physicalMemoryLoadPercent() {
  try {
    return memoryLoadFromMeminfo(files::readWhole("/proc/meminfo"));
  } catch (const files::IoError&) {
    return std::nullopt;
  }
}

std::optional<std::uint64_t> residentFromStatm(std::string_view statm, std::uint64_t pageSize) {
  // Its fields: the pages of the whole program, then those resident.
  const std::string text(statm);
  char* end = nullptr;
  std::strtoull(text.c_str(), &end, 10);
  const char* resident = end;
  const unsigned long long pages = std::strtoull(resident, &end, 10);
  if (end == resident) return std::nullopt;
  return static_cast<std::uint64_t>(pages) * pageSize;
}

std::optional<std::uint64_t> residentMemory() {
  try {
    return residentFromStatm(files::readWhole("/proc/self/statm"),
                             static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)));
  } catch (const files::IoError&) {
    return std::nullopt;
  }
}

}  // namespace waymint::platform
