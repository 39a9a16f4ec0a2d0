// A writing run extending any old GPX: either the old file stays byte for byte, or the new
// one keeps the old text up to the character before its last "</gpx>" and ends the document.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "gpx/create_gpx.h"
#include "platform/files.h"

using namespace waymint;

namespace {

const std::string osm =
    "<osm>\n <node id=\"1\" lat=\"43.7\" lon=\"7.4\">\n  <tag k=\"amenity\" v=\"cafe\"/>\n"
    "  <tag k=\"name\" v=\"Blue\"/>\n </node>\n <node id=\"2\" lat=\"43.8\" lon=\"7.5\">\n"
    "  <tag k=\"amenity\" v=\"cafe\"/>\n </node>\n</osm>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  const std::string old(reinterpret_cast<const char*>(data), size);
  const std::string gpx = fuzz.write("gpx/cafe/cafe.gpx", old);
  fuzz.load(osm);
  fuzz.choose("cafe");
  fuzz.program().state.addmode = true;
  fuzz.program().f1.List2.clear();
  const gpx::RunResult result = gpx::create_gpx(fuzz.program(), true);
  fuzz.machine().forgetMessages();
  const std::string written = platform::files::readWhole(gpx);
  const size_t closing = old.rfind("</gpx>");
  if (!result.complete()) {
    fuzzing::require(written == old, "an early end leaves the old file");
    fuzzing::require(closing == std::string::npos, "only a file without </gpx> is refused");
    return 0;
  }
  const size_t kept = closing == 0 ? 0 : closing - 1;
  fuzzing::require(written.compare(0, kept, old, 0, kept) == 0, "the old body stays");
  fuzzing::require(written.ends_with("</gpx>\r\n"), "the document ends");
  return 0;
}
