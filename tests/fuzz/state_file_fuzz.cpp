// The state file reader on any bytes: what it reads, written back and read again, is written
// back the same.
#include <cstdint>
#include <string>

#include "app/program.h"
#include "app/state_file.h"
#include "fuzz_program.h"
#include "platform/files.h"

using namespace waymint;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  const std::string stateFile = fuzz.write("osm_pois.dat", {reinterpret_cast<const char*>(data), size});
  std::string written[2];
  for (std::string& text : written) {
    platform::HeadlessPlatform machine;
    machine.setExecutableFolder(fuzz.folder());
    app::Program program(machine);
    program.f1.Form_Load();
    app::savedata(program);
    text = platform::files::readWhole(stateFile);
  }
  fuzzing::require(written[0] == written[1], "a state file reads back as it was written");
  return 0;
}
