#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace waymint::testing {

// How many wait for the lock on `folder` (processes, or threads holding descriptors of their
// own), as the system lists them.
inline int waitingForLock(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return -1;
  char file[64];
  std::snprintf(file, sizeof file, " %02x:%02x:%llu ", ::major(info.st_dev), ::minor(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  std::ifstream locks("/proc/locks");
  int waiting = 0;
  for (std::string line; std::getline(locks, line);) {
    waiting += line.find(" -> ") != std::string::npos && line.find(file) != std::string::npos;
  }
  return waiting;
}

// Polls until `reached` holds or `over` tells that it never will; the deadline only ends a test
// that would hang.
inline void pollUntil(const std::function<bool()>& reached, const std::function<bool()>& over) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!reached() && !over() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace waymint::testing
