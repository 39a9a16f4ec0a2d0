#pragma once

#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/window.h"

namespace waymint::app {
class Program;
}

namespace waymint::dialogs {

using platform::CommandButton;
using platform::Label;
using platform::Picture;
using platform::Shape;

// The About window: the program's name, its version, a beta mark and how much memory the
// program holds, of which the OSM text loaded.
class Info : public platform::Window {
 public:
  explicit Info(app::Program& program);

  Label Label9{"Label9", "WAYMINT"};
  Label Label1{"Label1", ""};
  Picture Picture1{"Picture1"};
  Shape Shape1{"Shape1"};
  Label Label10{"Label10", ""};
  Label Label8{"Label8", ""};
  Label Label7{"Label7", "Memory:"};
  Label Label4{"Label4", ""};
  Shape Shape2{"Shape2"};
  CommandButton Command1{"Command1", "OK"};

  // Fills the version line, the beta mark and the memory held.
  void Form_Activate() override;
  void Command1_Click() { close(); }

 private:
  app::Program& m_program;
};

// The version as the information windows show it: "0.27", with the user's decimal separator.
std::string versionText(app::Program& program);
// An amount of memory as the About window shows it: "152 MB", below 10 MB "2.5 MB".
std::string megabytesText(app::Program& program, std::uint64_t bytes);

}  // namespace waymint::dialogs
