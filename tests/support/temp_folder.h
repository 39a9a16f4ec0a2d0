#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace waymint::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return m_path; }
  // path() + "/" + name
  std::string operator/(std::string_view name) const;
  // Writes a file below the folder and returns its path.
  std::string write(std::string_view name, std::string_view bytes) const;
  // Writes an executable shell script that does nothing and returns its path.
  std::string writeProgram(std::string_view name) const;

 private:
  std::string m_path;
};

// The whole content of a file, or "<missing>" when it cannot be read.
std::string slurp(const std::string& path);

// The names of the entries of a folder, hidden ones included, sorted.
std::vector<std::string> entries(const std::string& path);

}  // namespace waymint::testing
