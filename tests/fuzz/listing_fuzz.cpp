// The node record parser through a listing run: the first line of the input is the category,
// the rest the OSM text. Every name is listed once.
#include <cstdint>
#include <set>
#include <string_view>

#include "fuzz_program.h"
#include "gpx/create_gpx.h"

using namespace waymint;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t line = input.find('\n');
  if (line == std::string_view::npos || line > 40) return 0;
  fuzz.choose(std::string(input.substr(0, line)));
  fuzz.load(input.substr(line + 1));
  gpx::create_gpx(fuzz.program(), false);
  fuzz.machine().forgetMessages();
  const auto& names = fuzz.program().f1.List1(0).items();
  fuzzing::require(std::set(names.begin(), names.end()).size() == names.size(), "each name once");
  return 0;
}
