// The main window's category workflow: a press on a category lists its POIs and shows its
// GPX; the create button writes or extends the GPX and reports what it added.
#include "workflow/category_workflow.h"

#include <string>

#include "app/program.h"
#include "app/utilities.h"
#include "messages/messages.h"
#include "osm/number_text.h"
#include "platform/files.h"
#include "workflow/showgpx.h"

namespace waymint::workflow {
namespace {

namespace files = platform::files;
using app::f1;

// The icon expected beside the GPX: `gpxpath` with its final ".gpx" replaced by ".bmp".
std::string iconBeside(const std::string& gpxpath) {
  constexpr std::string_view extension = ".gpx";
  auto at = gpxpath.rfind(extension);
  if (at == std::string::npos) return gpxpath;
  return gpxpath.substr(0, at) + ".bmp" + gpxpath.substr(at + extension.size());
}

}  // namespace

void List1_MouseDown(app::Program& program, int /*Index*/) {
  f1& w = program.f1;
  if (w.operationInProgress()) return;
  f1::Operation press(w);
  app::State& state = program.state;
  w.List2.clear();
  w.Label1(0).setCaption("POIS found:");
  gpx::create_gpx(program, false);
  app::enabled_(program, false);
  showgpx(program);
  w.Label4(2).setCaption(state.gpxpath);
  w.Label6.setCaption("GPX not yet created.");
  w.Frame1.setVisible(w.List3.count() == 0);
  w.Label1(0).setCaption("POIS found: " + std::to_string(w.List1(0).count()));
  w.Command1.setCaption(w.List3.count() == 0 ? "Create GPX" : "Add POIs");
  state.bmppath = iconBeside(state.gpxpath);
  w.Image1.setToolTip(state.bmppath + " ");
  const platform::ListBox& categories = w.List1(2);
  if (categories.selectedIndex() >= 0) state.shownCategory = categories.item(categories.selectedIndex());
  app::enabled_(program, true);
}

void Command1_Click(app::Program& program) {
  f1& w = program.f1;
  if (w.operationInProgress()) return;
  if (w.List1(2).selectedIndex() < 0) {
    program.platform.messageBox(std::string(messages::selectCategoryToCreate),
                                platform::Buttons::Ok);
    return;
  }
  // A distance a GPX cannot hold is refused before anything is written, and the box shows the
  // number that is written (12.6 is written 13).
  platform::TextBox& proximity = w.Text3(1);
  const auto distance = osm::typedNumber(proximity.text());
  if (!distance) {
    program.platform.messageBox(messages::proximityNotAllowed(proximity.text()),
                                platform::Buttons::Ok);
    return;
  }
  proximity.setText(std::to_string(*distance));
  createAndReport(program, [&program](const std::string& report) {
    program.platform.messageBox(report, platform::Buttons::Ok);
  });
}

gpx::RunResult createAndReport(app::Program& program,
                               const std::function<void(const std::string&)>& report) {
  f1& w = program.f1;
  if (w.operationInProgress()) return {};
  // A category chosen (by keyboard) but not shown yet is shown first: the button writes the
  // category whose POIs and GPX the window shows.
  const platform::ListBox& categories = w.List1(2);
  if (categories.selectedIndex() >= 0 &&
      program.state.shownCategory != categories.item(categories.selectedIndex())) {
    List1_MouseDown(program, 2);
  }
  f1::Operation create(w);
  app::State& state = program.state;
  state.addmode = true;
  w.Command1.setEnabled(false);
  app::busy_on(program);
  w.List2.clear();
  w.Frame1.setVisible(false);
  const gpx::RunResult result = gpx::create_gpx(program, true);
  state.bmppath = iconBeside(state.gpxpath);
  std::string tail = state.bmppath;
  if (state.bmppath.empty() || !files::isOrdinaryFile(state.bmppath)) {
    tail = messages::iconMissing(w.Text4.text(), state.gpxpath);
  }
  showgpx(program);
  if (result.complete()) {
    report(messages::gpxCreated(w.List2.count(), tail));
  }
  w.Frame1.setVisible(w.List3.count() == 0);
  app::busy_off(program);
  w.Command1.setEnabled(true);
  return result;
}

void Check1_MouseUp(app::Program& program) {
  f1& w = program.f1;
  const bool on = w.Check1.value() == 1;
  w.Opt(0).setEnabled(on);
  w.Opt(1).setEnabled(on);
}

void Check2_MouseUp(app::Program& program) {
  f1& w = program.f1;
  program.state.alert = w.Check2.value() == 1;
  w.Text3(0).setEnabled(program.state.alert);
  w.Text3(1).setEnabled(program.state.alert);
}

}  // namespace waymint::workflow
