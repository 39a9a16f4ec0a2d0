// The node record parser through a listing run: the first line of the input is the category,
// the rest the OSM text. Every name is listed once. With exact categories and details, every
// name is a text a UTF-8 GPX can hold: no control character, no markup, valid UTF-8.
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
  fuzz.program().f1.List1(0).clear();  // the list of the input before, where this load fails
  gpx::create_gpx(fuzz.program(), false);
  fuzz.machine().forgetMessages();
  const auto& names = fuzz.program().f1.List1(0).items();
  fuzzing::require(std::set(names.begin(), names.end()).size() == names.size(), "each name once");
  fuzz.program().state.choices = {.areas = false, .exact = true, .details = true};
  fuzz.program().f1.List1(0).clear();
  gpx::create_gpx(fuzz.program(), false);
  fuzz.machine().forgetMessages();
  fuzz.program().state.choices = {};
  const std::string madeName = fuzz.program().state.category + ":";
  for (const std::string& name : fuzz.program().f1.List1(0).items()) {
    if (name.starts_with(madeName)) continue;
    for (size_t i = 0; i < name.size(); ++i) {
      const auto c = static_cast<unsigned char>(name[i]);
      fuzzing::require(c >= 0x20 && c != 0x7F && c != '<' && c != '>', "a GPX text");
      if (c < 0x80) continue;
      const size_t more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
      fuzzing::require(c >= 0xC2 && c <= 0xF4, "UTF-8");
      for (size_t k = 1; k <= more; ++k) {
        fuzzing::require(
            i + k < name.size() && (static_cast<unsigned char>(name[i + k]) & 0xC0) == 0x80, "UTF-8");
      }
      i += more;
    }
  }
  return 0;
}
