#pragma once

namespace waymint::qt {

class QtPlatform;

// Registers how the About window `Info` and the Updates window `updat` are shown.
void registerInfoViews(QtPlatform& platform);

}  // namespace waymint::qt
