#include "app/caption.h"

#include "osm/number_text.h"
#include "app/program.h"

namespace waymint::app {

void cap(Program& program) {
  program.f1.setCaption("WAYMINT" + osm::numberText(program.state.version) + " :" +
                        program.state.osmfile);
}

}  // namespace waymint::app
