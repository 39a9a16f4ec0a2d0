#pragma once

#include <string>

namespace waymint::app {

class Program;

// The state file "osm_pois.dat" beside the executable: 22 lines, CR LF, one value each.
std::string stateFilePath(const Program& program);

// Reads the state file into the shared state and the recent-file entries; stops silently at
// the first line that cannot be read.
void loaddata(Program& program);
// Writes the state file, replacing it in one step; a file that cannot be written is left as
// it was, silently.
void savedata(Program& program);

}  // namespace waymint::app
