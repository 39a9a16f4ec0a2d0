#include "gui/bindings.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QListView>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include "gui/resources.h"
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

void applyCommon(const platform::Control& model, QWidget* view) {
  view->setEnabled(model.enabled());
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
  bool seen() const { return m_seen; }

 private:
  QEvent::Type m_type;
  std::function<void()> m_action;
  bool m_seen = false;
};

}  // namespace

ListBoxModel::ListBoxModel(platform::ListBox& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list) {}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_list.count();
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_list.count()) return {};
  return qt::toQString(m_list.item(index.row()));
}

void ListBoxModel::reload() {
  beginResetModel();
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

void Bindings::checkBox(platform::CheckBox& model, QCheckBox* view,
                        std::function<void()> onMouseUp) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    applyCommon(model, view);
    view->setText(qt::toQString(model.caption()));
    view->setTristate(model.value() == 2);
    view->setCheckState(model.value() == 1   ? Qt::Checked
                        : model.value() == 2 ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
  });
  // The box's handler runs on the release of a mouse button only; a toggle from the
  // keyboard changes the value and nothing else.
  auto* mouse = new AfterMouse(view, QEvent::MouseButtonRelease, {});
  QObject::connect(view, &QCheckBox::stateChanged, this, [&model, view, mouse, onMouseUp] {
    int value = view->checkState() == Qt::Checked ? 1 : view->checkState() == Qt::PartiallyChecked ? 2 : 0;
    model.setValue(value);
    if (mouse->seen() && onMouseUp) onMouseUp();
  });
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
  });
  QObject::connect(view, &QLineEdit::textEdited, this,
                   [&model](const QString& text) { model.setText(qt::toBytes(text)); });
}

void Bindings::listBox(platform::ListBox& model, QListView* view, std::function<void()> onMouseDown) {
  view->setObjectName(QString::fromStdString(model.name()));
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setUniformItemSizes(true);
  auto* items = new ListBoxModel(model, view);
  view->setModel(items);
  watch(model, [&model, view, items] {
    applyCommon(model, view);
    items->reload();
    if (model.selectedIndex() >= 0) {
      view->setCurrentIndex(items->index(model.selectedIndex()));
    } else {
      view->clearSelection();
    }
  });
  QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                   [&model](const QModelIndex& current) {
                     model.setSelectedIndex(current.isValid() ? current.row() : -1);
                   });
  if (onMouseDown) new AfterMouse(view->viewport(), QEvent::MouseButtonPress, onMouseDown);
}

void Bindings::menuEntry(platform::MenuEntry& model, QAction* view, std::function<void()> onClick) {
  view->setObjectName(QString::fromStdString(model.name()));
  watch(model, [&model, view] {
    view->setSeparator(model.isSeparator());
    // A path such as "R&D.osm" is shown as it is, not with "&" taken for a shortcut mark.
    if (!model.isSeparator()) view->setText(qt::toQString(model.caption()).replace('&', "&&"));
    view->setEnabled(model.enabled());
    view->setVisible(model.visible());
  });
  if (onClick) QObject::connect(view, &QAction::triggered, this, [onClick] { onClick(); });
}

}  // namespace waymint::gui
