#include "tool_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "support/temp_folder.h"

extern char** environ;

namespace waymint::testing {
namespace {

// With `standardOutput` given, standard output goes to that file (one that exists: a device
// such as /dev/full) and is not captured.
Finished spawn(const std::vector<std::string>& arguments, const std::string& workingFolder,
               bool searchPath, const std::string& standardOutput = "") {
  TempFolder capture;
  const std::string outPath = standardOutput.empty() ? capture / "out" : standardOutput;
  const std::string errPath = capture / "err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());

  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int failed = searchPath
                         ? posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ)
                         : posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Finished finished;
  if (failed != 0) return finished;
  int status = 0;
  if (::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    finished.status = WEXITSTATUS(status);
  }
  if (standardOutput.empty()) finished.out = slurp(outPath);
  finished.err = slurp(errPath);
  return finished;
}

}  // namespace

Finished runProgram(const std::vector<std::string>& arguments, const std::string& workingFolder) {
  return spawn(arguments, workingFolder, true);
}

Finished runTool(const std::vector<std::string>& arguments, const std::string& workingFolder) {
  std::vector<std::string> all{WAYMINT_CLI};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return spawn(all, workingFolder, false);
}

Finished runToolWritingTo(const std::string& standardOutput,
                          const std::vector<std::string>& arguments) {
  std::vector<std::string> all{WAYMINT_CLI};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return spawn(all, "", false, standardOutput);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start) + "<no LF>");
  return lines;
}

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t end; (end = line.find('\t', start)) != std::string::npos; start = end + 1) {
    fields.push_back(line.substr(start, end - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::map<std::string, std::string> filesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().string()] = slurp(entry.path().string());
  }
  return files;
}

InProcess::InProcess() : m_program(m_machine) { m_program.f1.startUp(false); }

void InProcess::open(const std::string& osmFile) {
  m_machine.chooseNext(osmFile);
  m_program.f1.mf_Click(2);
}

void InProcess::press(const std::string& category) {
  platform::ListBox& categories = window().List1(2);
  categories.setSelectedIndex(-1);
  for (int i = 0; i < categories.count(); ++i) {
    if (categories.item(i) == category) categories.setSelectedIndex(i);
  }
  window().List1_MouseDown(2);
}

}  // namespace waymint::testing
