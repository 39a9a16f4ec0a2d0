#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// The three choices' check boxes of the main window. Each keeps its choice in the shared
// state (and so in the state file). "Areas too" reads the loaded file again, since the areas
// are part of the loaded text; "Exact categories" surveys the loaded text again, since the
// categories are others. When that reading or survey fails or is cancelled, the box and the
// choice go back to what the window still shows. "Details from OSM" changes the next GPX
// written.
void Check3_MouseUp(app::Program& program);
void Check4_MouseUp(app::Program& program);
void Check5_MouseUp(app::Program& program);

}  // namespace waymint::workflow
