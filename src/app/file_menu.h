#pragma once

#include <string>

namespace waymint::app {

class Program;

// Puts `name` at the top of the recent-file entries mf(9)..mf(16) and refreshes their
// enabled state (every entry that names a file is enabled).
void updatmf(Program& program, const std::string& name);

// Shows the recent-file entries that name a file and hides the empty ones, so that the File
// menu ends in no blank rows. (The entries keep their places: an empty one is still kept.)
void showRecentFiles(Program& program);

// A recent entry, mf(index), names a file that is no longer there: the user is told and asked
// whether to remove it from the list (the entries below move up).
void offerToForget(Program& program, int index);

}  // namespace waymint::app
