#pragma once

#include <string>

namespace waymint::app {

class Program;

// The program-wide busy pointer, on and off. No nesting: the last call decides.
void busy_on(Program& program);
void busy_off(Program& program);

// The whole text of the file at `path`, bytes exact, or "" when no ordinary file is there.
// When it reads, it records `path` in `osmfile` and `starttime`, and leaves the busy pointer
// on; a failing read is reported, naming the file, with the platform's description (or as
// out of memory) and gives "".
std::string loadtext(Program& program, const std::string& path);

// loadtext without recording the path in `osmfile`: for readers of files that are not the
// loaded OSM file.
std::string readTextFile(Program& program, const std::string& path);

// Whether a name that a file dialog gave can be taken: an ordinary file is there and the
// name holds no "*" (a cancelled dialog gives back its pattern, such as "*.gpx").
bool pickedFileExists(const std::string& path);

// Turns every path separator in `p` into the platform's own, in place; returns the result.
std::string fixpath(std::string& p);

// Makes the folder `s1` and every missing folder above it. False, after the message
// "Invalid filename:" + s1, when the path names no folder below a root; after the folder and
// the system's reason when one could not be made.
bool makdir(Program& program, const std::string& s1);

// Enables or disables the main window's action buttons together.
void enabled_(Program& program, bool enabled);

}  // namespace waymint::app
