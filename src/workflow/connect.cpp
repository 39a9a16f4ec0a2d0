#include "workflow/connect.h"

#include "app/program.h"
#include "dialogs/info.h"
#include "survey/get_tags.h"

namespace waymint::workflow {

void connect(app::Program& program) {
  program.above.get_tags = survey::get_tags;
  program.above.showAbout = [](app::Program& shown) {
    dialogs::Info about(shown);
    shown.platform.showModal(about);
  };
}

}  // namespace waymint::workflow
