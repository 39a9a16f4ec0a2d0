#pragma once

#include <string>

namespace waymint::app {

class Program;

// Puts `name` at the top of the recent-file entries mf(9)..mf(16) and refreshes their
// enabled state.
void updatmf(Program& program, const std::string& name);

}  // namespace waymint::app
