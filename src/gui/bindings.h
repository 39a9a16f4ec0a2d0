#pragma once

#include <QAbstractListModel>
#include <QObject>

#include <functional>
#include <vector>

#include "platform/controls.h"
#include "platform/window.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QAction;
class QCheckBox;
class QListView;
class QRadioButton;
class QWidget;

namespace waymint::gui {

// A list box's entries as a Qt list model: a copy of the control's entries, taken when the
// view is refreshed, so that the view never sees entries it has not been told of.
class ListBoxModel : public QAbstractListModel {
 public:
  // With `decodeEntities`, entries are shown with their XML character references decoded.
  ListBoxModel(bool decodeEntities, QObject* parent);
  int rowCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  const std::vector<std::string>& entries() const { return m_entries; }
  void reload(const std::vector<std::string>& entries);

 private:
  std::vector<std::string> m_entries;
  bool m_decodeEntities;
};

// Options of a list box's view.
struct ListOptions {
  // Entries shown with their character references decoded (names read from OSM or GPX text).
  bool decodeEntities = false;
  // A box whose text filters the entries shown (case-insensitive, anywhere in the entry).
  // The model keeps the whole list: a selection is the entry's index in the whole list, and
  // a filter that hides the selected entry leaves it selected.
  QLineEdit* filter = nullptr;
};

// Ties the widgets of one window view to the window's control models. A model change marks
// its widget for a refresh; the refreshes run together on the next pass of the event loop,
// so that a list filled entry by entry is redrawn once, not once per entry.
class Bindings : public QObject {
 public:
  // Makes the program's built-in pictures available to every view.
  explicit Bindings(QObject* parent);

  void window(platform::Window& model, QWidget* view);
  // An ElidedLabel also shows its whole text as tool tip, unless the model sets one.
  void label(platform::CaptionedControl& model, QLabel* view);
  void button(platform::CaptionedControl& model, QAbstractButton* view,
              std::function<void()> onClick);
  // `onClick` runs after a click: a mouse release over the box or a toggle by keyboard.
  void checkBox(platform::CheckBox& model, QCheckBox* view, std::function<void()> onClick);
  void option(platform::OptionButton& model, QRadioButton* view);
  // An ElidedLineEdit also shows its whole text as tool tip, unless the model sets one.
  void textBox(platform::TextBox& model, QLineEdit* view);
  void listBox(platform::ListBox& model, QListView* view, std::function<void()> onMouseDown,
               ListOptions options = {});
  // `shown` turns the model's caption into the entry's text (by default a "&" in the caption
  // is shown as itself, with no shortcut mark).
  void menuEntry(platform::MenuEntry& model, QAction* view, std::function<void()> onClick,
                 std::function<QString(const QString&)> shown = {});
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
