#pragma once

#include <optional>
#include <string>
#include <vector>

namespace waymint::app {

class Program;

// What the main window shows of the chosen category: the POIs found and written, their count,
// the GPX's path, contents and icon, the notice and the create button's caption, with the run
// fields behind them. Taken whole, so that a file that cannot be loaded puts back what was
// shown before; emptied whole, so that no label shows another file's or category's state.
class CategoryDisplay {
 public:
  // What the window shows now.
  explicit CategoryDisplay(const Program& program);
  void restoreTo(Program& program) const;
  // The window as it shows no category (after another file is loaded, or the GPX folder is
  // changed): nothing found, no GPX and no notice about one, the default icon.
  static void clear(Program& program);

 private:
  std::vector<std::string> m_found, m_added, m_contents;
  std::string m_directory, m_count, m_gpxLabel, m_notice, m_create;
  std::string m_iconFile, m_iconResource, m_iconTip;
  bool m_noticeShown;
  std::string m_category, m_gpxpath, m_bmppath;
  std::optional<std::string> m_shown;
};

}  // namespace waymint::app
