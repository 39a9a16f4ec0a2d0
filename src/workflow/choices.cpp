#include "workflow/choices.h"

#include <string>
#include <vector>

#include "app/category_display.h"
#include "app/program.h"
#include "app/utilities.h"
#include "survey/get_tags.h"

namespace waymint::workflow {

void Check3_MouseUp(app::Program& program) {
  app::f1& w = program.f1;
  app::State& state = program.state;
  state.choices.areas = w.Check3.value() == 1;
  if (!state.chunks.loaded || state.chunks.withAreas == state.choices.areas) return;
  if (!w.reloadOsm()) {
    state.choices.areas = state.chunks.withAreas;
    w.Check3.setValue(state.choices.areas ? 1 : 0);
  }
}

void Check4_MouseUp(app::Program& program) {
  app::f1& w = program.f1;
  app::State& state = program.state;
  const bool exact = w.Check4.value() == 1;
  if (exact == state.choices.exact) return;
  if (!state.chunks.loaded) {
    state.choices.exact = exact;
    return;
  }
  if (w.operationInProgress()) {
    w.Check4.setValue(state.choices.exact ? 1 : 0);
    return;
  }
  const std::vector<std::string> categories = w.List1(2).items();
  const int selected = w.List1(2).selectedIndex();
  const app::CategoryDisplay shown(program);
  state.choices.exact = exact;
  app::CategoryDisplay::clear(program);
  app::enabled_(program, false);
  if (!survey::get_tags(program)) {
    state.choices.exact = !exact;
    w.Check4.setValue(state.choices.exact ? 1 : 0);
    w.List1(2).setItems(categories);
    w.List1(2).setSelectedIndex(selected);
    shown.restoreTo(program);
  }
  app::enabled_(program, true);
}

void Check5_MouseUp(app::Program& program) {
  program.state.choices.details = program.f1.Check5.value() == 1;
}

}  // namespace waymint::workflow
