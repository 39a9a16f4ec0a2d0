#pragma once

#include <string>

namespace waymint::app {
class Program;
}

namespace waymint::editors {

// Asks for a GPX file with the file-open dialog, preset to "*.gpx". A cancel is reported like
// any failure of the dialog, with the platform's description, and gives back the preset, so
// that the caller's check for a real file refuses it.
std::string pickGpx(app::Program& program);

}  // namespace waymint::editors
