#pragma once

#include <string>
#include <vector>

namespace waymint::testing {

// What a finished process left: its exit status (-1 when it did not exit normally) and
// everything it wrote to standard output and standard error.
struct Finished {
  int status = -1;
  std::string out;
  std::string err;
  long peakKilobytes = 0;  // the most memory it held at once
};

struct RunOptions {
  std::string workingFolder;   // the test's own when empty
  std::string standardOutput;  // an existing file (/dev/full) that takes standard output instead
  std::string standardInput = "/dev/null";
};

// Runs a program (found on the PATH when its name holds no "/") with `arguments`, its name
// first, and captures what it writes.
Finished runProgram(const std::vector<std::string>& arguments, const RunOptions& options = {});
// Runs the built waymint-cli with the arguments that follow its name.
Finished runTool(const std::vector<std::string>& arguments, const RunOptions& options = {});
// Whether a program of that name is on the PATH.
bool onPath(const std::string& name);

}  // namespace waymint::testing
