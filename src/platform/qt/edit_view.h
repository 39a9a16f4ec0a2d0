#pragma once

#include "platform/qt/window_dialog.h"

namespace waymint::editors {
class edit;
}

namespace waymint::qt {

class QtPlatform;

// The waypoint viewer on screen.
class EditView : public WindowDialog {
 public:
  EditView(editors::edit& window, QWidget* parent);
};

// Tells the platform how to show the two GPX editors, `edit` and `edall`.
void registerEditorViews(QtPlatform& desktop);

}  // namespace waymint::qt
