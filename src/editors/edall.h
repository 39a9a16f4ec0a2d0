#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/files.h"
#include "platform/window.h"

namespace waymint::app {
class Program;
}

namespace waymint::editors {

// The bulk proximity editor: gives the proximity alert of every waypoint of one GPX file a
// new distance (alerts on) or turns it into a comment (alerts off), and saves the file.
class edall : public platform::Window {
 public:
  explicit edall(app::Program& program);

  // --- controls, in the order the window holds them ---
  platform::CommandButton Command2{"Command2", "Load GPX"};
  platform::ControlArray<platform::Label> Label2;    // (0) "Speed", (1) "Proximity"
  platform::ControlArray<platform::TextBox> Text3;   // (0) speed, never read; (1) the distance
  platform::CheckBox Check2{"Check2", "Alert"};
  platform::ControlArray<platform::CommandButton> Command1;  // (0) "Apply", (1) "Close"

  // The GPX file picked with "Load GPX"; empty until one is picked.
  const std::string& editfile() const { return m_editfile; }

  // --- event handlers ---
  void Form_Load();
  void Check2_MouseUp();
  void Command2_Click();
  void Command1_Click(int Index);

  // Rewrites the proximity alerts of `editfile` as the alert flag and the distance ask,
  // holding the file's lock as a writing run does; says so and reads nothing when another
  // holds it.
  void changepois();

 private:
  std::optional<int> readDistance();
  void rewrite(const std::string& text, int distance, const platform::files::FolderLock& lock);
  void message(std::string_view text);

  app::Program& m_program;
  std::string m_editfile;
};

}  // namespace waymint::editors
