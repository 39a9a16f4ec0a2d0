#include "dialogs/info.h"

#include <charconv>

#include "app/program.h"

namespace waymint::dialogs {

std::string versionText(app::Program& program) {
  char digits[32];
  auto end = std::to_chars(digits, digits + sizeof digits, program.state.version,
                           std::chars_format::general, 7)
                 .ptr;
  std::string text(digits, end);
  auto point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, program.platform.decimalSeparator());
  return text;
}

Info::Info(app::Program& program) : Window("Info", "Information"), m_program(program) {
  own(Label9);
  own(Label1);
  own(Picture1).showResource(":/icons/waymint.png");
  own(Shape1);
  own(Label10).setForeColor({255, 0, 0});
  own(Label8);
  own(Label7);
  own(Label4).setForeColor({255, 224, 192});
  own(Shape2);
  own(Command1);
}

std::string megabytesText(app::Program& program, std::uint64_t bytes) {
  // Whole megabytes, but for small amounts, which keep a tenth.
  constexpr std::uint64_t half = std::uint64_t{1} << 19;
  const std::uint64_t tenths = (bytes * 10 + half) >> 20;
  if (tenths >= 100) return std::to_string((bytes + half) >> 20) + " MB";
  return std::to_string(tenths / 10) + program.platform.decimalSeparator() + std::to_string(tenths % 10) + " MB";
}

void Info::Form_Activate() {
  Label1.setCaption("Version " + versionText(m_program));
  Label10.setCaption("Beta ");
  // What the program holds, and how much of it is the text of the OSM file loaded.
  if (auto resident = m_program.platform.residentMemory()) {
    std::string text = "Program:" + megabytesText(m_program, *resident);
    const app::ChunkTable& chunks = m_program.state.chunks;
    if (chunks.loaded) text += ", OSM text " + megabytesText(m_program, chunks.bytes.size());
    Label4.setCaption(text);
  }
}

}  // namespace waymint::dialogs
