#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace waymint::cli {

// The whole tool: reads the arguments that follow the program's name, does the work and
// gives the exit status. Nothing escapes it: every failure ends up as a line on `err`.
// `out` is flushed before the end; when it could not take everything, the run fails.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
        bool showProgress);

}  // namespace waymint::cli
