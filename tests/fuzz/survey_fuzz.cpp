// The node record cutter and the survey on any text, with and without exact categories: the
// category list is always distinct, lower-case and ordered by first byte.
#include <cstdint>
#include <set>

#include "fuzz_program.h"
#include "survey/get_tags.h"

using namespace waymint;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  fuzz.load({reinterpret_cast<const char*>(data), size});
  for (const bool exact : {false, true}) {
    fuzz.program().state.choices.exact = exact;
    survey::get_tags(fuzz.program());
    fuzz.machine().forgetMessages();
    const auto& entries = fuzz.program().f1.List1(2).items();
    fuzzing::require(std::set(entries.begin(), entries.end()).size() == entries.size(), "distinct");
    for (size_t i = 0; i < entries.size(); ++i) {
      fuzzing::require(!entries[i].empty(), "not empty");
      for (char c : entries[i]) fuzzing::require(c < 'A' || c > 'Z', "lower case");
      if (i > 0) {
        fuzzing::require(static_cast<unsigned char>(entries[i - 1][0]) <=
                             static_cast<unsigned char>(entries[i][0]),
                         "ordered by first byte");
      }
    }
  }
  fuzz.program().state.choices.exact = false;
  return 0;
}
