// waymint-cli: the main window's runs from scripts.
#include <unistd.h>

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/descriptor_output.h"
#include "cli/tool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  waymint::cli::DescriptorOutput standardOutput(STDOUT_FILENO);
  std::ostream out(&standardOutput);
  return waymint::cli::run(arguments, out, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
