// What the machine answers where a platform does not answer itself.
#include "platform/platform.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/memory_status.h"

namespace waymint::platform {

std::optional<std::string> Platform::environmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::string Platform::homeFolder() {
  if (auto home = environmentVariable("HOME"); home && !home->empty()) return *home;
  const passwd* account = ::getpwuid(::geteuid());
  return account && account->pw_dir ? account->pw_dir : "";
}

std::optional<std::string> Platform::whyNotWritable(const std::string& folder) {
  return files::whyNotWritable(folder);
}

std::optional<std::uint64_t> Platform::residentMemory() { return platform::residentMemory(); }

}  // namespace waymint::platform
