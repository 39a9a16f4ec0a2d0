#include "dialogs/updat.h"

#include "app/program.h"
#include "app/utilities.h"
#include "app/web_addresses.h"
#include "dialogs/info.h"
#include "messages/messages.h"

namespace waymint::dialogs {
namespace {

constexpr platform::Rgb brightBlue{0, 0, 255};
constexpr platform::Rgb brightMagenta{255, 0, 255};

}  // namespace

updat::updat(app::Program& program) : Window("updat", "Updates"), m_program(program) {
  own(Shape4).setBackColor({224, 224, 224});
  own(Label2);
  own(Label1).setForeColor(brightBlue);
  own(Command2);
  own(Command1);
}

void updat::Form_Load() {
  app::busy_on(m_program);
  Label2.setCaption("Current Version:" + versionText(m_program));
  Label1.setCaption("Click here to check website");
  app::busy_off(m_program);
}

void updat::Form_MouseMove() { Label1.setForeColor(brightBlue); }

void updat::Label1_MouseMove() { Label1.setForeColor(brightMagenta); }

void updat::Label1_MouseLeave() { Label1.setForeColor(brightBlue); }

void updat::Label1_MouseDown() { openWebPage(app::programPage); }

void updat::Command1_Click() { openWebPage(app::downloadPage); }

void updat::openWebPage(std::string_view page) {
  platform::Platform& machine = m_program.platform;
  app::busy_on(m_program);
  const std::string address = app::webAddress(page);
  if (!machine.shellOpen("Open", address, "", 0)) {
    machine.messageBox(messages::desktopCannotOpen(address, messages::adviceWebPage), platform::Buttons::Ok);
  }
  machine.yield();
  machine.yield();
  machine.yield();
  app::busy_off(m_program);
  close();
}

}  // namespace waymint::dialogs
