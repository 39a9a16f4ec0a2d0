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

void Info::Form_Activate() {
  Label1.setCaption("Version " + versionText(m_program));
  auto load = m_program.platform.memoryLoadPercent();
  Label10.setCaption("Beta ");
  if (load) Label4.setCaption("System:" + std::to_string(*load) + "%");
}

}  // namespace waymint::dialogs
