#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace waymint::platform {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Plain models of a window's controls. The logic reads and writes them; a view, when
// there is one, subscribes with watch() and mirrors every change into its widget.
class Control {
 public:
  explicit Control(std::string name) : m_name(std::move(name)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& name() const { return m_name; }

  bool enabled() const { return m_enabled; }
  void setEnabled(bool enabled) { assign(m_enabled, enabled); }
  bool visible() const { return m_visible; }
  void setVisible(bool visible) { assign(m_visible, visible); }
  const std::string& toolTip() const { return m_toolTip; }
  void setToolTip(std::string tip) { assign(m_toolTip, std::move(tip)); }

  // Colours as red, green, blue; unset means the platform's default.
  const std::optional<Rgb>& backColor() const { return m_backColor; }
  void setBackColor(Rgb color) { assign(m_backColor, std::optional<Rgb>(color)); }
  const std::optional<Rgb>& foreColor() const { return m_foreColor; }
  void setForeColor(Rgb color) { assign(m_foreColor, std::optional<Rgb>(color)); }

  // The view's hook: called after every change of the model.
  void watch(std::function<void()> observer) { m_observer = std::move(observer); }

 protected:
  template <typename T, typename V>
  void assign(T& field, V&& value) {
    if (field == value) return;
    field = std::forward<V>(value);
    changed();
  }
  void changed() {
    if (m_observer) m_observer();
  }

 private:
  std::string m_name;
  bool m_enabled = true;
  bool m_visible = true;
  std::string m_toolTip;
  std::optional<Rgb> m_backColor;
  std::optional<Rgb> m_foreColor;
  std::function<void()> m_observer;
};

// A control with a caption: labels, buttons, check boxes, option buttons, frames.
class CaptionedControl : public Control {
 public:
  CaptionedControl(std::string name, std::string caption)
      : Control(std::move(name)), m_caption(std::move(caption)) {}
  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption) { assign(m_caption, std::move(caption)); }

 private:
  std::string m_caption;
};

using Label = CaptionedControl;
using CommandButton = CaptionedControl;
using Frame = CaptionedControl;

// A list box: its entries as bytes, in order, and the selected index (-1 for none).
class ListBox : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& items() const { return m_items; }
  int count() const { return static_cast<int>(m_items.size()); }
  const std::string& item(int index) const { return m_items.at(static_cast<size_t>(index)); }
  int selectedIndex() const { return m_selected; }
  // Counts the changes of the entries: a new list, even of the same entries, counts.
  std::uint64_t listings() const { return m_listings; }
  void clear() {
    if (m_items.empty() && m_selected == -1) return;
    m_items.clear();
    m_selected = -1;
    ++m_listings;
    changed();
  }
  void addItem(std::string item) {
    m_items.push_back(std::move(item));
    ++m_listings;
    changed();
  }
  void setItems(std::vector<std::string> items) {
    m_items = std::move(items);
    m_selected = -1;
    ++m_listings;
    changed();
  }
  void setSelectedIndex(int index) {
    if (index < -1 || index >= count()) index = -1;
    assign(m_selected, index);
  }

 private:
  std::vector<std::string> m_items;
  int m_selected = -1;
  std::uint64_t m_listings = 0;
};

// A text box. Every change of its text, typed or set by code, runs its change handler.
class TextBox : public Control {
 public:
  TextBox(std::string name, std::string text) : Control(std::move(name)), m_text(std::move(text)) {}
  const std::string& text() const { return m_text; }
  void setText(std::string text) {
    if (m_text == text) return;
    m_text = std::move(text);
    changed();
    if (m_onChange) m_onChange();
  }
  void onChange(std::function<void()> handler) { m_onChange = std::move(handler); }

 private:
  std::string m_text;
  std::function<void()> m_onChange;
};

// A check box: value 0 unchecked, 1 checked, 2 greyed. Only 1 counts as checked.
class CheckBox : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  int value() const { return m_value; }
  void setValue(int value) { assign(m_value, value); }
  bool checked() const { return m_value == 1; }

 private:
  int m_value = 0;
};

class OptionButton : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  bool value() const { return m_value; }
  void setValue(bool value) { assign(m_value, value); }

 private:
  bool m_value = false;
};

// A picture box or image: the bitmap file it shows, or a picture built into the program
// (named by `resource`, for example ":/icons/poi.png").
class Picture : public Control {
 public:
  using Control::Control;
  const std::string& file() const { return m_file; }
  const std::string& resource() const { return m_resource; }
  void showFile(std::string path) {
    m_file = std::move(path);
    m_resource.clear();
    changed();
  }
  void showResource(std::string resource) {
    m_file.clear();
    m_resource = std::move(resource);
    changed();
  }

 private:
  std::string m_file;
  std::string m_resource;
};

using Shape = Control;

// One entry of an indexed menu group. "-" as caption is a separator line.
class MenuEntry : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  bool isSeparator() const { return caption() == "-"; }
};

// An indexed group of controls (`List1(0)`, `Text3(1)`, `mf(9)`): members exist only at
// the indexes the window declares; one handler serves the group and receives the index.
template <typename T>
class ControlArray {
 public:
  template <typename... Args>
  T& add(int index, const std::string& group, Args&&... args) {
    auto name = group + "(" + std::to_string(index) + ")";
    auto [it, inserted] = m_members.try_emplace(index, name, std::forward<Args>(args)...);
    if (!inserted) throw std::logic_error(name + " declared twice");
    return it->second;
  }
  T& operator()(int index) { return at(index); }
  const T& operator()(int index) const { return const_cast<ControlArray*>(this)->at(index); }
  bool has(int index) const { return m_members.count(index) != 0; }
  std::map<int, T>& members() { return m_members; }

 private:
  T& at(int index) {
    auto it = m_members.find(index);
    if (it == m_members.end()) throw std::out_of_range("no member " + std::to_string(index));
    return it->second;
  }
  std::map<int, T> m_members;
};

// A folder list: the folder it shows (a full path) and its entries, each a full path: the
// folders from the root down to the shown one, then the shown folder's subfolders.
// `currentIndex` is the shown folder's entry. Every move to another folder, by code or by a
// double click, runs the change handler. What the entries are is the window's business.
class FolderList : public Control {
 public:
  using Control::Control;
  const std::string& path() const { return m_path; }
  const std::vector<std::string>& entries() const { return m_entries; }
  int currentIndex() const { return m_current; }
  int selectedIndex() const { return m_selected; }
  void show(std::string path, std::vector<std::string> entries, int currentIndex) {
    bool moved = path != m_path;
    m_path = std::move(path);
    m_entries = std::move(entries);
    m_current = currentIndex;
    m_selected = -1;
    changed();
    if (moved && m_onChange) m_onChange();
  }
  void setSelectedIndex(int index) {
    if (index < -1 || index >= static_cast<int>(m_entries.size())) index = -1;
    assign(m_selected, index);
  }
  void onChange(std::function<void()> handler) { m_onChange = std::move(handler); }

 private:
  std::string m_path;
  std::vector<std::string> m_entries;
  int m_current = -1;
  int m_selected = -1;
  std::function<void()> m_onChange;
};

// A drive list: the volumes to choose from and the chosen one. Choosing runs no handler by
// itself; the view calls the window's handler after the user's choice.
class DriveList : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& drives() const { return m_drives; }
  void setDrives(std::vector<std::string> drives) { assign(m_drives, std::move(drives)); }
  const std::string& drive() const { return m_drive; }
  void setDrive(std::string drive) { assign(m_drive, std::move(drive)); }

 private:
  std::vector<std::string> m_drives;
  std::string m_drive;
};

}  // namespace waymint::platform
