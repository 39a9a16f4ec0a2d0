#pragma once

namespace waymint::gui {

// Makes the pictures built into the program (":/icons/...") available; safe to call again.
void loadResources();

}  // namespace waymint::gui
