#include "support/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace waymint::testing {

TempFolder::TempFolder() {
  auto base = std::filesystem::temp_directory_path() / "waymint-test-XXXXXX";
  std::string pattern = base.string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  m_path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Folders a test made read-only must be writable again to be removed.
  for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::operator/(std::string_view name) const {
  return m_path + "/" + std::string(name);
}

std::string TempFolder::write(std::string_view name, std::string_view bytes) const {
  std::string path = *this / name;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string TempFolder::writeProgram(std::string_view name) const {
  std::string path = write(name, "#!/bin/sh\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  return path;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> entries(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace waymint::testing
