#pragma once

#include <string_view>

#include "platform/controls.h"
#include "platform/window.h"

namespace waymint::app {
class Program;
}

namespace waymint::dialogs {

// The Updates window: the version, and two ways to the maker's web site (a link and
// "Download"), each handing a web address to the browser and closing the window.
class updat : public platform::Window {
 public:
  explicit updat(app::Program& program);

  platform::Shape Shape4{"Shape4"};
  platform::Label Label2{"Label2", ""};
  platform::Label Label1{"Label1", ""};
  platform::CommandButton Command2{"Command2", "Cancel"};
  platform::CommandButton Command1{"Command1", "Download"};

  void Form_Load();
  // The mouse over the bare surface of the window (the grey panel included): the link blue.
  void Form_MouseMove();
  // The mouse over the link: the link magenta.
  void Label1_MouseMove();
  // The mouse has left the link, for the window's surface or straight out of the window: the
  // link blue again.
  void Label1_MouseLeave();
  // Any mouse button on the link: the program's page.
  void Label1_MouseDown();
  void Command1_Click();
  void Command2_Click() { close(); }

 private:
  void openWebPage(std::string_view page);

  app::Program& m_program;
};

}  // namespace waymint::dialogs
