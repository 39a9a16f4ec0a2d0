#pragma once

#include <string>

namespace waymint::app {

class Program;

// The state file "osm_pois.dat", 22 lines, CR LF, one value each, where start-up decided to
// keep it (app/state_location.h); then, in lines an older program never reads, "key=value"
// lines (app/state_file_extras.h): the choices, the sound ("sound=1", "soundformat=wav") and
// the proximity ("proximity=<metres>"), and whatever a later program keeps there.
std::string stateFilePath(const Program& program);

// Reads the state file found at start-up into the shared state and the recent-file entries;
// stops silently at the first line that cannot be read.
void loaddata(Program& program);
// Writes the state file, replacing it in one step; a file that cannot be written is left as
// it was, silently, but for a configuration folder that cannot be made or written, which the
// user is told once. Without a place decided at start-up (the command-line tool) nothing is
// written.
void savedata(Program& program);

}  // namespace waymint::app
