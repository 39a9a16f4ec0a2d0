// The main window's category workflow: a press on a category lists its POIs and shows its
// GPX; the create button writes or extends the GPX and reports what it added.
#include <string>

#include "app/program.h"
#include "app/utilities.h"
#include "gpx/create_gpx.h"
#include "gpx/gpx_paths.h"
#include "platform/files.h"
#include "workflow/showgpx.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

// The icon expected beside the GPX: `gpxpath` with its final ".gpx" replaced by ".bmp".
std::string iconBeside(const std::string& gpxpath) {
  constexpr std::string_view extension = ".gpx";
  auto at = gpxpath.rfind(extension);
  if (at == std::string::npos) return gpxpath;
  return gpxpath.substr(0, at) + ".bmp" + gpxpath.substr(at + extension.size());
}

}  // namespace

void f1::List1_MouseDown(int /*Index*/) {
  if (operationInProgress()) return;
  Operation press(*this);
  State& state = m_program.state;
  List2.clear();
  Label1(0).setCaption("POIS found:");
  gpx::create_gpx(m_program, false);
  enabled_(m_program, false);
  workflow::showgpx(m_program);
  Label4(2).setCaption(state.gpxpath);
  Label6.setCaption("GPX not yet created.");
  Frame1.setVisible(List3.count() == 0);
  Label1(0).setCaption("POIS found: " + std::to_string(List1(0).count()));
  Command1.setCaption(List3.count() == 0 ? "Create GPX" : "Add POIs");
  state.bmppath = iconBeside(state.gpxpath);
  Image1.setToolTip(state.bmppath + " ");
  enabled_(m_program, true);
}

void f1::Command1_Click() {
  createAndReport([this](const std::string& report) {
    m_program.platform.messageBox(report, platform::Buttons::Ok);
  });
}

void f1::createAndReport(const std::function<void(const std::string&)>& report) {
  if (operationInProgress()) return;
  Operation create(*this);
  State& state = m_program.state;
  state.addmode = true;
  Command1.setEnabled(false);
  busy_on(m_program);
  List2.clear();
  Frame1.setVisible(false);
  const bool written = gpx::create_gpx(m_program, true);
  state.bmppath = iconBeside(state.gpxpath);
  std::string tail = state.bmppath;
  if (state.bmppath.empty() || !files::isOrdinaryFile(state.bmppath)) {
    tail = "\r\n" + Text4.text() + ".bmp not found in same folder as \r\n\r\n" + state.gpxpath +
           "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.";
  }
  workflow::showgpx(m_program);
  // A run that ended early has said why; there is nothing to report.
  if (written) report("GPX created\r\n\r\nNew POIs added: " + std::to_string(List2.count()) + "\r\n" + tail);
  Frame1.setVisible(List3.count() == 0);
  busy_off(m_program);
  Command1.setEnabled(true);
}

void f1::Check1_MouseUp() {
  const bool on = Check1.value() == 1;
  Opt(0).setEnabled(on);
  Opt(1).setEnabled(on);
}

void f1::Check2_MouseUp() {
  m_program.state.alert = Check2.value() == 1;
  Text3(0).setEnabled(m_program.state.alert);
  Text3(1).setEnabled(m_program.state.alert);
}

}  // namespace waymint::app
