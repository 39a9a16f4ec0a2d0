// Any file given to the loader: read as .osm, .osm.gz, .osm.bz2 or .osm.pbf by its content,
// or refused with a message; never a crash, never more memory than allowed.
#include <cstdint>
#include <fstream>
#include <new>
#include <string>

#include "fuzz_program.h"
#include "input/input_error.h"
#include "input/osm_input.h"
#include "platform/files.h"

using namespace waymint;

namespace {

struct NoProgress : input::ReadProgress {
  bool proceed(std::uint64_t) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  const std::string path = fuzz.folder() + "/input.osm";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  NoProgress progress;
  try {
    const platform::ByteBuffer text = input::readOsmFile(path, progress, std::uint64_t{64} << 20);
    fuzzing::require(text.size() <= (std::uint64_t{64} << 20), "within the memory allowed");
  } catch (const input::InputError&) {
  } catch (const platform::files::IoError&) {
  } catch (const std::bad_alloc&) {
  }
  return 0;
}
