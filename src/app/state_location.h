#pragma once

#include <string>
#include <string_view>

namespace waymint::platform {
class Platform;
}

namespace waymint::app {

class Program;

// The desktop entry that an installed program has beside its bin/ folder
// (share/applications/<id>.desktop); its id is the program's id on the desktop.
inline constexpr std::string_view desktopId = "example.veltrana.waymint";

// Where the state file "osm_pois.dat" is kept. A copy of the program in a folder that it may
// write keeps it beside itself, as such copies always have. A program installed as Linux
// programs are (in a bin/ folder whose share/applications holds its desktop entry), or one in
// a folder that it cannot write, keeps it in the user's configuration folder.
struct StateLocation {
  std::string folder;               // where the state file is written
  bool inConfigFolder = false;      // `folder` is the configuration folder, made when needed
  std::string readFrom;             // the state file read at start; "" when there is none
  bool toldUnwritable = false;      // the user has been told that it cannot be written
};

// $XDG_CONFIG_HOME/waymint, or ~/.config/waymint when XDG_CONFIG_HOME is not set, empty, or
// not an absolute path.
std::string configFolder(platform::Platform& machine);

// Decides where the state file of a program in `programFolder` is kept. In the configuration
// folder, the file read at start is the one there or, when it has none yet, one left beside
// the program (the settings a copy had before, or defaults its installer put there).
StateLocation locateStateFile(platform::Platform& machine, const std::string& programFolder);

// Whether the state file can be written now: the configuration folder is made when it is
// missing. When it cannot be made or written, the user is told so once in the run, naming
// the folder.
bool stateFolderReady(Program& program);

}  // namespace waymint::app
