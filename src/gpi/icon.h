#pragma once

#include <string>
#include <string_view>

#include "gpi/bitmap.h"

namespace waymint::gpi {

// What keeps a category's .bmp from a navigator.
enum class IconProblem {
  None,
  Unreadable,   // the file cannot be read
  NotBmp,       // another kind of file (a PNG renamed .bmp)
  Truncated,    // shorter than its header says
  Damaged,      // a header no BMP has
  Empty,        // no pixels (0 wide or 0 high)
  TooLarge,     // more than 24 pixels wide or high
  ColourDepth,  // not 8, 24 or 32 bits a pixel
  Compressed,   // RLE, JPEG or PNG inside the BMP
};

// The largest icon every navigator shows.
inline constexpr int largestIcon = 24;

struct IconCheck {
  IconProblem problem = IconProblem::None;
  // Names the file, says what is wrong and how to mend it; empty when nothing is.
  std::string message;
  bool fine() const { return problem == IconProblem::None; }
};

// An icon file checked and, when it is fine, turned into the GPI's bitmap. An 8-bit BMP keeps
// its pixels and palette (made up to 256 entries); a 24- or 32-bit one becomes 8 bits a pixel
// when it has at most 256 colours (what every navigator takes), 32 bits otherwise. In a 32-bit
// BMP whose fourth bytes are not all 0, pixels less than half opaque become transparent.
struct IconRead {
  IconCheck check;
  Bitmap bitmap;  // only when check.fine()
};
IconRead readIcon(std::string_view path, std::string_view bytes);
// The same for the file at `path`.
IconRead readIconFile(std::string_view path);

// The icon of a category that has none that navigators show: the program's map pin, 24x24
// pixels, 8 bits, magenta transparent. Its BMP file's bytes, and as the GPI holds it.
std::string_view defaultIconBmp();
const Bitmap& defaultBitmap();
// Writes the default icon as the BMP `path`, in one step, replacing what is there.
// Throws platform::files::IoError.
void writeDefaultIcon(std::string_view path);

}  // namespace waymint::gpi
