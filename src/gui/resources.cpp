#include "gui/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function of the global namespace.
static void initIcons() { Q_INIT_RESOURCE(icons); }

namespace waymint::gui {

void loadResources() {
  static bool loaded = false;
  if (loaded) return;
  initIcons();
  loaded = true;
}

}  // namespace waymint::gui
