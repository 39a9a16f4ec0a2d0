#pragma once

#include "platform/qt/window_dialog.h"

namespace waymint::editors {
class edall;
}

namespace waymint::qt {

// The bulk proximity editor on screen.
class EdallView : public WindowDialog {
 public:
  EdallView(editors::edall& window, QWidget* parent);
};

}  // namespace waymint::qt
