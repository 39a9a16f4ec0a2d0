#pragma once

#include <string>

#include "platform/files.h"

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

// Replaces the text file `file` by `buffer` followed by CR LF. When the file exists, asks
// file + " exists. Overwrite?" first; any answer but Yes writes nothing. The file is
// replaced in one step: a failure (reported as file + " " + the platform's text) leaves it
// byte for byte as it was. The caller holds the file's lock (see gpx_lock.h), taken before
// it read what it changes.
void Savetext(app::Program& program, const std::string& file, const std::string& buffer,
              const platform::files::FolderLock& held);

}  // namespace waymint::gpx
