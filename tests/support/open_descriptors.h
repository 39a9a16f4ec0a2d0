#pragma once

#include <filesystem>
#include <iterator>

namespace waymint::testing {

// How many file descriptors the process holds open (the entries of /proc/self/fd, the one
// that lists them included): the same after a test's work as before, or the work leaked one.
inline long openDescriptors() {
  std::error_code failed;
  const std::filesystem::directory_iterator entries("/proc/self/fd", failed);
  return failed ? -1 : std::distance(entries, std::filesystem::directory_iterator());
}

}  // namespace waymint::testing
