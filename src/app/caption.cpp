#include "app/caption.h"

#include "app/number_text.h"
#include "app/program.h"

namespace waymint::app {

void cap(Program& program) {
  program.f1.setCaption("WAYMINT" + numberText(program.state.version) + " :" +
                        program.state.osmfile);
}

}  // namespace waymint::app
