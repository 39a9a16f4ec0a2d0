// Any bytes as a navigator's Garmin/GarminDevice.xml: a model name that may be shown as it is
// (short, whole UTF-8, no control characters), or a note naming the file; never both.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "gpi/code_page.h"
#include "navigator/navigator.h"

using namespace waymint;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const navigator::Model model = navigator::modelIn(
      std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xml");
  fuzzing::require(model.name.empty() != model.note.empty(), "a name or a note");
  if (!model.note.empty()) {
    fuzzing::require(model.note.starts_with("fuzz.xml "), "the note names the file");
    return 0;
  }
  fuzzing::require(model.name.size() <= 100, "a short name");
  fuzzing::require(gpi::isWellFormedUtf8(model.name), "whole UTF-8");
  for (const char c : model.name) {
    fuzzing::require(static_cast<unsigned char>(c) >= 0x20 && c != '\x7F', "no control character");
  }
  fuzzing::require(model.name.front() != ' ' && model.name.back() != ' ', "trimmed");
  return 0;
}
