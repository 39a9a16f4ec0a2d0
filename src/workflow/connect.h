#pragma once

namespace waymint::app {
class Program;
}

namespace waymint::workflow {

// Gives the application shell the parts it starts without owning them: the tag survey after
// every load and the About window of the File menu. Run once, before the window's load event.
void connect(app::Program& program);

}  // namespace waymint::workflow
