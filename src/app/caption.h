#pragma once

namespace waymint::app {

class Program;

// Sets the main window's caption from the version and the loaded OSM file:
// "WAYMINT" + " .27" + " :" + osmfile.
void cap(Program& program);

}  // namespace waymint::app
