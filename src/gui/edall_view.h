#pragma once

#include "gui/window_dialog.h"

namespace waymint::editors {
class edall;
}

namespace waymint::gui {

// The bulk proximity editor on screen.
class EdallView : public WindowDialog {
 public:
  EdallView(editors::edall& window, QWidget* parent);
};

}  // namespace waymint::gui
