#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "workflow/connect.h"

namespace waymint::fuzzing {

// A started program on the headless platform, its state file and GPX folder in a folder of
// its own under the system's temporary folder.
class FuzzProgram {
 public:
  FuzzProgram();
  app::Program& program() { return m_program; }
  platform::HeadlessPlatform& machine() { return m_machine; }
  const std::string& folder() const { return m_folder; }
  // Puts `text` in memory as a loaded OSM file is.
  void load(std::string_view text);
  // Lists `category` alone in List1(2) and selects it.
  void choose(const std::string& category);
  // Writes `bytes` to the file `name` of the folder (made anew) and gives its path.
  std::string write(const std::string& name, std::string_view bytes) const;

 private:
  std::string m_folder;
  platform::HeadlessPlatform m_machine;
  app::Program m_program{m_machine};
};

// Stops the fuzzer with a finding when `holds` is false.
inline void require(bool holds, const char* what) {
  if (!holds) {
    __builtin_printf("broken: %s\n", what);
    std::abort();
  }
}

}  // namespace waymint::fuzzing
