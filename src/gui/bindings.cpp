#include "gui/bindings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QListView>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

#include "gui/resources.h"
#include "gui/shown_text.h"
#include "platform/qt/text.h"

namespace waymint::gui {
namespace {

QString colorSheet(const platform::Control& model) {
  QString sheet;
  if (auto fore = model.foreColor()) {
    sheet += QStringLiteral("color: rgb(%1,%2,%3);").arg(fore->red).arg(fore->green).arg(fore->blue);
  }
  if (auto back = model.backColor()) {
    sheet += QStringLiteral("background-color: rgb(%1,%2,%3);")
                 .arg(back->red)
                 .arg(back->green)
                 .arg(back->blue);
  }
  return sheet;
}

// Where the keyboard focus went when a control that held it was disabled.
class FocusHeir : public QObject {
 public:
  explicit FocusHeir(QWidget* control) : QObject(control), heir(QApplication::focusWidget()) {}
  QPointer<QWidget> heir;
};

FocusHeir* focusHeirOf(const QWidget* control) {
  if (!control) return nullptr;
  for (QObject* child : control->children()) {
    if (auto* record = dynamic_cast<FocusHeir*>(child)) return record;
  }
  return nullptr;
}

// A control disabled while it holds the keyboard focus (a list while the category it chose is
// shown, the create button while it runs) gives it up for that time only: enabled again, it
// takes it back, unless the user has moved the focus meanwhile. The focus may have passed on
// through controls disabled with it (from the category list to the POI list to the GPX folder).
void setEnabledKeepingFocus(QWidget* view, bool enabled) {
  if (view->testAttribute(Qt::WA_Disabled) != enabled) return;
  const bool hadFocus = view->hasFocus();
  view->setEnabled(enabled);
  FocusHeir* taken = focusHeirOf(view);
  if (!enabled) {
    if (hadFocus && !taken) new FocusHeir(view);
    return;
  }
  if (!taken) return;
  QWidget* heir = taken->heir;
  for (int step = 0; step < 16 && heir != QApplication::focusWidget(); ++step) {
    const FocusHeir* next = focusHeirOf(heir);
    heir = next ? next->heir.data() : nullptr;
  }
  if (heir == QApplication::focusWidget()) view->setFocus(Qt::OtherFocusReason);
  delete taken;
}

void applyCommon(const platform::Control& model, QWidget* view) {
  setEnabledKeepingFocus(view, model.enabled());
  view->setVisible(model.visible());
  view->setToolTip(qt::toQString(model.toolTip()));
  // A view may style a control itself; only colours the model sets replace that style.
  QString sheet = colorSheet(model);
  if (!sheet.isEmpty() && view->styleSheet() != sheet) view->setStyleSheet(sheet);
}

// Runs an action after the widget has handled a mouse event of the given type.
class AfterMouse : public QObject {
 public:
  AfterMouse(QObject* target, QEvent::Type type, std::function<void()> action)
      : QObject(target), m_type(type), m_action(std::move(action)) {
    target->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == m_type) {
      m_seen = true;
      QTimer::singleShot(0, this, [this] {
        if (m_seen && m_action) m_action();
        m_seen = false;
      });
    }
    return false;
  }

 private:
  QEvent::Type m_type;
  std::function<void()> m_action;
  bool m_seen = false;
};

}  // namespace

ListBoxModel::ListBoxModel(bool decodeEntities, QObject* parent)
    : QAbstractListModel(parent), m_decodeEntities(decodeEntities) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount({})) return {};
  const QString text = qt::toQString(m_entries[static_cast<size_t>(index.row())]);
  return m_decodeEntities ? decodeEntities(text) : text;
}

void ListBoxModel::reload(const std::vector<std::string>& entries) {
  beginResetModel();
  m_entries = entries;
  endResetModel();
}

Bindings::Bindings(QObject* parent) : QObject(parent) { loadResources(); }

void Bindings::watch(platform::Control& model, std::function<void()> refresh) {
  size_t index = m_refreshers.size();
  m_refreshers.push_back(std::move(refresh));
  m_pending.push_back(false);
  model.watch([this, index] { schedule(index); });
  m_refreshers[index]();
}

void Bindings::schedule(size_t index) {
  m_pending[index] = true;
  if (m_flushQueued) return;
  m_flushQueued = true;
  QTimer::singleShot(0, this, [this] { flush(); });
}

void Bindings::flush() {
  m_flushQueued = false;
  for (size_t i = 0; i < m_refreshers.size(); ++i) {
    if (!m_pending[i]) continue;
    m_pending[i] = false;
    m_refreshers[i]();
  }
}

void Bindings::window(platform::Window& model, QWidget* view) {
  view->setObjectName(QString::fromStdString(model.name()));
  auto refresh = [&model, view] { view->setWindowTitle(qt::toQString(model.caption())); };
  refresh();
  model.watch(refresh);
}

void Bindings::plain(platform::Control& model, QWidget* view) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] { applyCommon(model, view); });
}

void Bindings::label(platform::CaptionedControl& model, QLabel* view) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    applyCommon(model, view);
    view->setText(qt::toQString(model.caption()));
    if (dynamic_cast<ElidedLabel*>(view) && model.toolTip().empty()) view->setToolTip(view->text());
  });
}

void Bindings::button(platform::CaptionedControl& model, QAbstractButton* view,
                      std::function<void()> onClick) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    applyCommon(model, view);
    if (view->icon().isNull()) view->setText(qt::toQString(model.caption()));
  });
  if (onClick) QObject::connect(view, &QAbstractButton::clicked, this, [onClick] { onClick(); });
}

namespace {

QPixmap pixmapOf(const platform::Picture& model) {
  if (!model.file().empty()) return QPixmap(qt::toQString(model.file()));
  if (!model.resource().empty()) return QPixmap(qt::toQString(model.resource()));
  return {};
}

}  // namespace

void Bindings::picture(platform::Picture& model, QLabel* view) {
  view->setObjectName(QString::fromStdString(model.name()));
  view->setAlignment(Qt::AlignCenter);
  watch(model, [&model, view] {
    applyCommon(model, view);
    view->setPixmap(pixmapOf(model));
  });
}

void Bindings::pictureButton(platform::Picture& model, QAbstractButton* view,
                             std::function<void()> onClick) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    applyCommon(model, view);
    QPixmap pixmap = pixmapOf(model);
    if (!pixmap.isNull()) {
      view->setIcon(QIcon(pixmap));
      view->setIconSize(pixmap.size());
    }
  });
  if (onClick) QObject::connect(view, &QAbstractButton::clicked, this, [onClick] { onClick(); });
}

void Bindings::checkBox(platform::CheckBox& model, QCheckBox* view, std::function<void()> onClick) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    applyCommon(model, view);
    view->setText(qt::toQString(model.caption()));
    view->setTristate(model.value() == 2);
    view->setCheckState(model.value() == 1   ? Qt::Checked
                        : model.value() == 2 ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
  });
  QObject::connect(view, &QCheckBox::stateChanged, this, [&model, view] {
    model.setValue(view->checkState() == Qt::Checked            ? 1
                   : view->checkState() == Qt::PartiallyChecked ? 2
                                                                : 0);
  });
  // The user's toggle, by mouse or keyboard (Space), runs the box's handler once the value
  // has changed; a change made by the model does not.
  if (onClick) QObject::connect(view, &QAbstractButton::clicked, this, [onClick] { onClick(); });
}

void Bindings::option(platform::OptionButton& model, QRadioButton* view) {
  view->setObjectName(QString::fromStdString(model.name()));
  view->setAutoExclusive(true);
  watch(model, [&model, view] {
    applyCommon(model, view);
    view->setText(qt::toQString(model.caption()));
    view->setChecked(model.value());
  });
  QObject::connect(view, &QRadioButton::toggled, this,
                   [&model](bool checked) { model.setValue(checked); });
}

void Bindings::textBox(platform::TextBox& model, QLineEdit* view) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    applyCommon(model, view);
    QString text = qt::toQString(model.text());
    if (view->text() != text) view->setText(text);
    if (dynamic_cast<ElidedLineEdit*>(view) && model.toolTip().empty()) view->setToolTip(text);
  });
  QObject::connect(view, &QLineEdit::textEdited, this,
                   [&model](const QString& text) { model.setText(qt::toBytes(text)); });
}

void Bindings::listBox(platform::ListBox& model, QListView* view, std::function<void()> onMouseDown,
                       ListOptions options) {
  view->setObjectName(QString::fromStdString(model.name()));
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setUniformItemSizes(true);
  auto* items = new ListBoxModel(options.decodeEntities, view);
  QSortFilterProxyModel* filtered = nullptr;
  if (options.filter) {
    filtered = new QSortFilterProxyModel(view);
    filtered->setSourceModel(items);
    filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);
    view->setModel(filtered);
  } else {
    view->setModel(items);
  }
  // Only the user moves the model's selection: not the view following the model, nor a filter
  // that hides the selected entry.
  auto following = std::make_shared<bool>(false);
  auto showSelection = [&model, view, items, filtered, following] {
    QScopedValueRollback<bool> guard(*following, true);
    QModelIndex at = items->index(model.selectedIndex());
    if (filtered) at = filtered->mapFromSource(at);
    if (at.isValid()) {
      view->setCurrentIndex(at);
    } else {
      view->selectionModel()->clear();
    }
  };
  // The entries are read again only when they have changed, so that moving the selection
  // keeps the list's scroll position and its keyboard search. A new list is read again even
  // when it holds the same entries: what was pending on the list before is dropped.
  auto shownListing = std::make_shared<std::uint64_t>(model.listings() + 1);
  watch(model, [&model, view, items, showSelection, shownListing] {
    applyCommon(model, view);
    if (*shownListing != model.listings()) {
      *shownListing = model.listings();
      items->reload(model.items());
    }
    showSelection();
  });
  QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                   [&model, filtered, following](const QModelIndex& current) {
                     if (*following) return;
                     const QModelIndex entry = filtered ? filtered->mapToSource(current) : current;
                     model.setSelectedIndex(entry.isValid() ? entry.row() : -1);
                   });
  if (filtered) {
    QObject::connect(options.filter, &QLineEdit::textChanged, this,
                     [&model, items, filtered, following, showSelection](const QString& text) {
                       {
                         QScopedValueRollback<bool> guard(*following, true);
                         filtered->setFilterFixedString(text);
                       }
                       // (Entries not shown yet get their selection with them.)
                       if (items->entries() == model.items()) showSelection();
                     });
  }
  if (onMouseDown) new AfterMouse(view->viewport(), QEvent::MouseButtonPress, onMouseDown);
}

void Bindings::menuEntry(platform::MenuEntry& model, QAction* view, std::function<void()> onClick,
                         std::function<QString(const QString&)> shown) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view, shown] {
    view->setSeparator(model.isSeparator());
    if (!model.isSeparator()) {
      const QString caption = qt::toQString(model.caption());
      // A path such as "R&D.osm" is shown as it is, not with "&" taken for a shortcut mark.
      view->setText(shown ? shown(caption) : QString(caption).replace('&', "&&"));
    }
    view->setEnabled(model.enabled());
    view->setVisible(model.visible());
  });
  if (onClick) QObject::connect(view, &QAction::triggered, this, [onClick] { onClick(); });
}

}  // namespace waymint::gui
