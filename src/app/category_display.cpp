#include "app/category_display.h"

#include "app/program.h"

namespace waymint::app {

CategoryDisplay::CategoryDisplay(const Program& program)
    : m_found(program.f1.List1(0).items()),
      m_added(program.f1.List2.items()),
      m_contents(program.f1.List3.items()),
      m_directory(program.f1.Text4.text()),
      m_count(program.f1.Label1(0).caption()),
      m_gpxLabel(program.f1.Label4(2).caption()),
      m_notice(program.f1.Label6.caption()),
      m_create(program.f1.Command1.caption()),
      m_iconFile(program.f1.Image1.file()),
      m_iconResource(program.f1.Image1.resource()),
      m_iconTip(program.f1.Image1.toolTip()),
      m_noticeShown(program.f1.Frame1.visible()),
      m_category(program.state.category),
      m_gpxpath(program.state.gpxpath),
      m_bmppath(program.state.bmppath),
      m_shown(program.state.shownCategory) {}

void CategoryDisplay::restoreTo(Program& program) const {
  f1& w = program.f1;
  w.List1(0).setItems(m_found);
  w.List2.setItems(m_added);
  w.List3.setItems(m_contents);
  w.Text4.setText(m_directory);
  w.Label1(0).setCaption(m_count);
  w.Label4(2).setCaption(m_gpxLabel);
  w.Label6.setCaption(m_notice);
  w.Command1.setCaption(m_create);
  if (!m_iconFile.empty()) {
    w.Image1.showFile(m_iconFile);
  } else {
    w.Image1.showResource(m_iconResource);
  }
  w.Image1.setToolTip(m_iconTip);
  w.Frame1.setVisible(m_noticeShown);
  program.state.category = m_category;
  program.state.gpxpath = m_gpxpath;
  program.state.bmppath = m_bmppath;
  program.state.shownCategory = m_shown;
}

void CategoryDisplay::clear(Program& program) {
  f1& w = program.f1;
  w.List1(0).clear();
  w.List2.clear();
  w.List3.clear();
  w.Text4.setText("");
  w.Label1(0).setCaption("POIS found:");
  w.Label4(2).setCaption("");
  w.Label6.setCaption("Existing GPX not found");
  w.Frame1.setVisible(false);  // no category, so no notice about its GPX
  w.Command1.setCaption("Create GPX");
  w.Image1.showResource("");  // no icon, as at start
  w.Image1.setToolTip("");
  program.state.category.clear();
  program.state.gpxpath.clear();
  program.state.bmppath.clear();
  program.state.shownCategory.reset();
}

}  // namespace waymint::app
