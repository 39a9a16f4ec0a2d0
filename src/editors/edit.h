#pragma once

#include <string>

#include "platform/controls.h"
#include "platform/window.h"

namespace waymint::app {
class Program;
}

namespace waymint::editors {

// The waypoint viewer: lists the names of the waypoints of one GPX file, in file order.
// Nothing is edited and nothing is written.
class edit : public platform::Window {
 public:
  explicit edit(app::Program& program);

  // --- controls, in the order the window holds them ---
  platform::ListBox List1{"List1"};
  platform::ControlArray<platform::TextBox> Text1;  // (0), (1), (2): nothing fills or reads them
  platform::CommandButton Command1{"Command1", "Close"};
  platform::MenuEntry mf{"mf", "File"};
  platform::ControlArray<platform::MenuEntry> mff;  // Open GPX, -, Save GPX, -, Exit

  // --- event handlers ---
  void Form_Load();
  void Form_Activate() override;
  void mff_Click(int Index);
  void Command1_Click();

  // Fills List1 with the waypoint names of the file at `path`.
  void parsegpx(const std::string& path);
  // The whole text of the file at `path`, or "" when no ordinary file is there. Unlike the
  // program's loadtext it leaves the current OSM file alone.
  std::string loadtext2(const std::string& path);

 private:
  void openGpx();

  app::Program& m_program;
};

}  // namespace waymint::editors
