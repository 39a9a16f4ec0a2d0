#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// The main window's buttons around the chosen category's GPX: "Load OSM" (the File menu's
// Open), "Show GPX", "Delete GPX", the GPX folder's ">>" and the launchers of Pixmold (0)
// and POI Loader (1).
void Command2_Click(app::Program& program, int Index);
void Command3_Click(app::Program& program);
void Command4_Click(app::Program& program);
void command5_Click(app::Program& program);
void Picture5_Click(app::Program& program, int Index);

}  // namespace waymint::workflow
