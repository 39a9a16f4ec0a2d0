#pragma once

#include <string>

#include "platform/controls.h"
#include "platform/window.h"

namespace waymint::app {
class Program;
}

namespace waymint::dialogs {

// The folder picker: chooses the GPX folder (`gpxfolder`) by browsing or typing.
class folders : public platform::Window {
 public:
  explicit folders(app::Program& program);

  // --- controls, in the order the window holds them ---
  platform::TextBox Text1{"Text1", "Text1"};
  platform::FolderList Dir1{"Dir1"};
  platform::DriveList Drive1{"Drive1"};
  platform::Label Label1{"Label1", "Double Click to select folder"};
  platform::ControlArray<platform::CommandButton> Command1;  // (0) "OK", (1) "Cancel"

  // --- event handlers ---
  void Form_Load();
  void Form_Activate() override;
  // The folder list moved: Text1 follows it.
  void Dir1_Change();
  // A double click on the selected entry of the folder list opens that folder.
  void Dir1_DblClick();
  // A drive was chosen: the folder list moves to it.
  void Drive1_Change();
  void Command1_Click(int Index);
  // Whether the window closed with a folder taken by "OK" (not by "Cancel" or its close box).
  bool confirmed() const { return m_confirmed; }

 private:
  // Moves the folder list to the folder at `path`; throws platform::files::IoError, the list
  // unchanged, when that folder cannot be read.
  void moveDir(const std::string& path);
  void report(const std::string& text);

  app::Program& m_program;
  bool m_confirmed = false;
};

}  // namespace waymint::dialogs
