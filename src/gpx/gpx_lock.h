#pragma once

#include <optional>
#include <string>

#include "platform/files.h"

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

// The lock that every writer of a GPX holds from reading the file to replacing it: two writers
// extending one file at once would each write what it read plus its own changes, and the
// second would lose the first's. It is the lock of the folder that really holds the file
// (through links too). From the command line the writer waits for the other; in the window,
// which must not freeze, it is told "<gpx> is in use by another run; try again when it has
// ended." and gets nothing. Throws platform::files::IoError when the folder cannot be opened.
std::optional<platform::files::FolderLock> lockGpx(app::Program& program, const std::string& gpx);

}  // namespace waymint::gpx
