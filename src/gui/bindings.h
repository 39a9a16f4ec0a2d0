#pragma once

#include <QAbstractListModel>
#include <QObject>

#include <functional>
#include <vector>

#include "platform/controls.h"
#include "platform/window.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QRadioButton;
class QWidget;

namespace waymint::gui {

// A list box's entries as a Qt list model, read straight from the control's model.
class ListBoxModel : public QAbstractListModel {
 public:
  ListBoxModel(platform::ListBox& list, QObject* parent);
  int rowCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  void reload();

 private:
  platform::ListBox& m_list;
};

// Ties the widgets of one window view to the window's control models. A model change marks
// its widget for a refresh; the refreshes run together on the next pass of the event loop,
// so that a list filled entry by entry is redrawn once, not once per entry.
class Bindings : public QObject {
 public:
  // Makes the program's built-in pictures available to every view.
  explicit Bindings(QObject* parent);

  void window(platform::Window& model, QWidget* view);
  void label(platform::CaptionedControl& model, QLabel* view);
  void button(platform::CaptionedControl& model, QAbstractButton* view,
              std::function<void()> onClick);
  void checkBox(platform::CheckBox& model, QCheckBox* view, std::function<void()> onMouseUp);
  void option(platform::OptionButton& model, QRadioButton* view);
  void textBox(platform::TextBox& model, QLineEdit* view);
  void listBox(platform::ListBox& model, QListView* view, std::function<void()> onMouseDown);
  void menuEntry(platform::MenuEntry& model, QAction* view, std::function<void()> onClick);
  // A picture box or image: the bitmap file or built-in picture of the model.
  void picture(platform::Picture& model, QLabel* view);
  // A picture that works as a button.
  void pictureButton(platform::Picture& model, QAbstractButton* view, std::function<void()> onClick);
  // Any other control: name, enabled, visible, tool tip and colours.
  void plain(platform::Control& model, QWidget* view);

  // Applies every pending refresh now.
  void flush();

 private:
  void watch(platform::Control& model, std::function<void()> refresh);
  void schedule(size_t index);

  std::vector<std::function<void()>> m_refreshers;
  std::vector<bool> m_pending;
  bool m_flushQueued = false;
};

}  // namespace waymint::gui
