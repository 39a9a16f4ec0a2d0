#include "editors/edall.h"

#include "app/program.h"
#include "app/utilities.h"
#include "editors/gpx_pick.h"

namespace waymint::editors {

edall::edall(app::Program& program) : Window("edall", "Form1"), m_program(program) {
  own(Command2);
  own(Label2.add(0, "Label2", "Speed"));
  own(Text3.add(0, "Text3", "20"));
  own(Label2.add(1, "Label2", "Proximity"));
  own(Text3.add(1, "Text3", "150"));
  own(Check2).setBackColor({255, 255, 255});
  own(Command1.add(0, "Command1", "Apply"));
  own(Command1.add(1, "Command1", "Close"));
}

void edall::Form_Load() { m_editfile.clear(); }

// Only a click with the mouse reaches the shared flag; the box starts unchecked whatever
// the flag holds.
void edall::Check2_MouseUp() { m_program.state.alert = Check2.checked(); }

void edall::Command2_Click() {
  std::string path = pickGpx(m_program);
  if (app::pickedFileExists(path)) m_editfile = path;
}

void edall::Command1_Click(int Index) {
  if (Index == 0) changepois();
  if (Index == 1) close();
}

void edall::message(std::string_view text) {
  m_program.platform.messageBox(std::string(text), platform::Buttons::Ok);
}

}  // namespace waymint::editors
