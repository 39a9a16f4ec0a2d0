#pragma once

#include <functional>
#include <string>

#include "gpx/create_gpx.h"

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// The main window's category workflow. A press on either list lists the POIs of the selected
// category and shows its GPX; the create button writes or extends that GPX and reports what
// it added; "Sound" and "Alert" enable the controls that go with them.
void List1_MouseDown(app::Program& program, int Index);
void Command1_Click(app::Program& program);
// The create button's work, handing its completion report to `report` (the button shows it
// in a message box; the command-line tool prints it its own way). No report follows a run
// that ended early: the run has said why.
gpx::RunResult createAndReport(app::Program& program,
                               const std::function<void(const std::string&)>& report);
void Check1_MouseUp(app::Program& program);
void Check2_MouseUp(app::Program& program);

}  // namespace waymint::workflow
