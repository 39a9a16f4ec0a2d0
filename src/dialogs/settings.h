#pragma once

#include <string>

#include "platform/controls.h"
#include "platform/window.h"

namespace waymint::app {
class Program;
}

namespace waymint::dialogs {

// The settings window: the paths of POI Loader (`loaderpath`) and Pixmold (`stylepath`),
// picked with a "<<" button or typed into its box and taken by OK.
class settings : public platform::Window {
 public:
  explicit settings(app::Program& program);

  // --- controls, in the order the window holds them ---
  platform::ControlArray<platform::Label> Label1;            // (0) POI Loader, (5) Pixmold
  platform::ControlArray<platform::TextBox> Text1;           // (0) loaderpath, (1) stylepath
  platform::ControlArray<platform::CommandButton> Command2;  // the "<<" of each row
  platform::CommandButton Command3{"Command3", "OK"};

  // --- event handlers ---
  void Form_Load();
  // Picks the program of a row: 0 POI Loader, 1 Pixmold.
  void Command2_Click(int Index);
  // OK: the paths typed into the boxes are taken, each when it names an executable file.
  void Command3_Click();

 private:
  // Sets the program of a row when `path` is an executable file; otherwise says why not.
  bool takeProgram(int Index, const std::string& path);

  app::Program& m_program;
};

}  // namespace waymint::dialogs
