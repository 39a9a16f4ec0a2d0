#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// The Help, Tools and Edit menus of the main window.
void mhlp_Click(app::Program& program, int Index);
void mtl_Click(app::Program& program, int Index);
void medd_Click(app::Program& program, int Index);

}  // namespace waymint::workflow
