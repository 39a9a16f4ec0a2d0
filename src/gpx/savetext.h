#pragma once

#include <string>

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

// Replaces the text file `file` by `buffer` followed by CR LF. When the file exists, asks
// file + " exists. Overwrite?" first; any answer but Yes writes nothing. The file is
// replaced in one step: a failure (reported as file + " " + the platform's text) leaves it
// byte for byte as it was.
void Savetext(app::Program& program, const std::string& file, const std::string& buffer);

}  // namespace waymint::gpx
