#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QObject>
#include <QTimer>

#include <functional>

namespace waymint::gui {

// The category list. A press shows the category at once (through the bindings); a selection
// moved by the keyboard (arrows, Page Up/Down, Home/End, a letter) shows it once it has rested
// for `settleMs`, so that a held arrow key does not show every category it passes.
class CategoryList : public QListView {
 public:
  CategoryList(QWidget* parent, int settleMs, std::function<void()> show) : QListView(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    QObject::connect(&m_settle, &QTimer::timeout, this, std::move(show));
  }
  // Another list of categories drops a pending show: it would show an entry of the list before.
  void setModel(QAbstractItemModel* model) override {
    QListView::setModel(model);
    QObject::connect(model, &QAbstractItemModel::modelReset, &m_settle, &QTimer::stop);
  }
  // Whether a category chosen by keyboard waits to be shown.
  bool showPending() const { return m_settle.isActive(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QPersistentModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex() != before) m_settle.start();
  }
  void mousePressEvent(QMouseEvent* event) override {
    m_settle.stop();  // the press shows the category itself
    QListView::mousePressEvent(event);
  }
  // Coming into the list chooses nothing (an item view would make its first entry current,
  // choosing it without showing it); a key then moves from the entry chosen, or to the first.
  void focusInEvent(QFocusEvent* event) override {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
  }

 private:
  QTimer m_settle;
};

// The keys of a filter box: Escape clears the filter (in an empty box it goes on to the window,
// where it cancels the operation in progress); Down goes on into the list it filters.
class FilterKeys : public QObject {
 public:
  FilterKeys(QLineEdit* box, QListView* list) : QObject(box), m_box(box), m_list(list) {
    box->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && !m_box->text().isEmpty()) {
      m_box->selectAll();  // cleared as the user clears it, so that its model follows
      m_box->del();
      return true;
    }
    if (key->key() == Qt::Key_Down && m_list->isEnabled()) {
      m_list->setFocus(Qt::TabFocusReason);
      QCoreApplication::sendEvent(m_list, key);
      return true;
    }
    return false;
  }

 private:
  QLineEdit* m_box;
  QListView* m_list;
};

}  // namespace waymint::gui
