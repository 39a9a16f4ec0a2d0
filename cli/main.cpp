// waymint-cli: the main window's runs from scripts.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/tool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return waymint::cli::run(arguments, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
