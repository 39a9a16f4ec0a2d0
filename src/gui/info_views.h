#pragma once

namespace waymint::qt {
class QtPlatform;
}

namespace waymint::gui {

// Registers how the About window `Info` and the Updates window `updat` are shown.
void registerInfoViews(qt::QtPlatform& platform);

}  // namespace waymint::gui
