#pragma once

#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>

#include <functional>
#include <optional>

#include "platform/qt/qt_platform.h"

class QGridLayout;

namespace waymint::app {
class Program;
}

namespace waymint::gui {

class Bindings;

// The main window on screen: shows the model `f1` and forwards every event to its handlers.
class F1View : public QMainWindow {
 public:
  explicit F1View(app::Program& program);

  // The progress of a long operation: its activity and percentage, with a Cancel button
  // (Escape too) while it can be cancelled; nothing hides it.
  void showProgress(const std::optional<qt::QtPlatform::Shown>& shown);
  // What Cancel does.
  void onCancel(std::function<void()> cancel) { m_cancel = std::move(cancel); }
  Bindings& bindings() { return *m_bindings; }

  // The window's first size on a screen whose free area is `available`: 1100 x 640, or 90 %
  // of the free area where that is less, but never below the window's `minimum`.
  static QSize firstSize(const QSize& available, const QSize& minimum);
  // How long a selection moved by the keyboard in the category list rests before the
  // category is shown, so that a held arrow key does not show every category it passes.
  static constexpr int keyboardSettleMs = 300;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // A file dropped on the window opens as File > Open opens the file picked.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The four panels of the workflow, side by side, one per step.
  QWidget* buildWorkflow();
  QWidget* buildCategoryPanel(QWidget* parent);
  QWidget* buildPoiPanel(QWidget* parent);
  QWidget* buildGpxPanel(QWidget* parent);
  int addAlertAndSound(QWidget* step, QGridLayout* grid, int row);
  int addIcon(QWidget* step, QGridLayout* grid, int row);
  QWidget* buildResultPanel(QWidget* parent);
  QGridLayout* buildWaypointList(QWidget* step);
  void buildMenus();

  app::Program& m_program;
  Bindings* m_bindings;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_cancelButton = nullptr;
  std::function<void()> m_cancel;
};

}  // namespace waymint::gui
