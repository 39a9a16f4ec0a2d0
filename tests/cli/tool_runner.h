#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/headless/headless_platform.h"

namespace waymint::testing {

// What a finished process left: its exit status (-1 when it did not exit normally) and
// everything it wrote to standard output and standard error.
struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a program found on the PATH with `arguments` (its name first), standard input empty.
Finished runProgram(const std::vector<std::string>& arguments,
                    const std::string& workingFolder = "");
// Runs the built waymint-cli with the arguments that follow its name.
Finished runTool(const std::vector<std::string>& arguments, const std::string& workingFolder = "");
// The same with standard output sent to the existing file `standardOutput` (a device such as
// /dev/full), which is not read back: `out` stays empty.
Finished runToolWritingTo(const std::string& standardOutput,
                          const std::vector<std::string>& arguments);

// The lines of a text, each without its LF.
std::vector<std::string> linesOf(const std::string& text);
// The fields of a line between TABs.
std::vector<std::string> fieldsOf(const std::string& line);

// Every file below `folder`, by path, with its bytes.
std::map<std::string, std::string> filesBelow(const std::string& folder);

// The program itself, driven in this process the way the window's user would: the expected
// results that the tool must agree with.
class InProcess {
 public:
  InProcess();
  app::Program& program() { return m_program; }
  app::f1& window() { return m_program.f1; }
  const platform::HeadlessPlatform& machine() const { return m_machine; }
  void open(const std::string& osmFile);
  // Selects `category` in List1(2) and presses on it.
  void press(const std::string& category);

 private:
  platform::HeadlessPlatform m_machine;
  app::Program m_program;
};

}  // namespace waymint::testing
