#pragma once

#include "gui/window_dialog.h"

namespace waymint::qt {
class QtPlatform;
}

namespace waymint::editors {
class edit;
}

namespace waymint::gui {

// The waypoint viewer on screen.
class EditView : public WindowDialog {
 public:
  EditView(editors::edit& window, QWidget* parent);
};

// Tells the platform how to show the two GPX editors, `edit` and `edall`.
void registerEditorViews(qt::QtPlatform& desktop);

}  // namespace waymint::gui
