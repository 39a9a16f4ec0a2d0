#include "fuzz_program.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace waymint::fuzzing {

FuzzProgram::FuzzProgram() {
  std::string pattern = (std::filesystem::temp_directory_path() / "waymint-fuzz-XXXXXX").string();
  m_folder = ::mkdtemp(pattern.data()) ? pattern : std::filesystem::temp_directory_path().string();
  m_machine.setExecutableFolder(m_folder);
  workflow::connect(m_program);
  m_program.f1.Form_Load();
  m_program.f1.Text1.setText(m_folder + "/gpx");
  std::filesystem::create_directories(m_folder + "/gpx");
}

void FuzzProgram::load(std::string_view text) {
  app::ChunkTable& chunks = m_program.state.chunks;
  chunks.bytes = std::string(text);
  chunks.chunkmax = 1;
  chunks.loaded = true;
}

void FuzzProgram::choose(const std::string& category) {
  m_program.f1.List1(2).setItems({category});
  m_program.f1.List1(2).setSelectedIndex(0);
}

std::string FuzzProgram::write(const std::string& name, std::string_view bytes) const {
  const std::string path = m_folder + "/" + name;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace waymint::fuzzing
