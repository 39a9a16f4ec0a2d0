#include "gui/edit_view.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <memory>

#include "editors/edall.h"
#include "editors/edit.h"
#include "gui/bindings.h"
#include "gui/edall_view.h"
#include "platform/qt/qt_platform.h"

namespace waymint::gui {

EditView::EditView(editors::edit& w, QWidget* parent) : WindowDialog(w, parent) {
  Bindings& b = bindings();
  auto* grid = new QGridLayout(this);

  auto* bar = new QMenuBar(this);
  QMenu* file = bar->addMenu(QString());
  file->setObjectName(QString::fromStdString(w.mf.name()));
  b.menuEntry(w.mf, file->menuAction(), {});
  for (auto& [index, entry] : w.mff.members()) {
    b.menuEntry(entry, file->addAction(QString()), [&w, index = index] { w.mff_Click(index); });
  }
  grid->setMenuBar(bar);

  auto* names = new QListView(this);
  names->setEditTriggers(QAbstractItemView::NoEditTriggers);
  b.listBox(w.List1, names, {}, {.decodeEntities = true});
  grid->addWidget(names, 0, 0, 4, 1);
  for (int index = 0; index <= 2; ++index) {
    auto* box = new QLineEdit(this);
    b.textBox(w.Text1(index), box);
    if (index < 2) {
      grid->addWidget(box, 0, 1 + index);
    } else {
      grid->addWidget(box, 1, 1, 1, 2);
    }
  }
  grid->setRowStretch(2, 1);
  auto* close = new QPushButton(this);
  b.button(w.Command1, close, [&w] { w.Command1_Click(); });
  grid->addWidget(close, 3, 2);
  grid->setColumnStretch(0, 2);
  resize(560, 380);
}

void registerEditorViews(qt::QtPlatform& desktop) {
  desktop.registerView("edit", [](platform::Window& window, QWidget* parent) {
    auto* model = dynamic_cast<editors::edit*>(&window);
    return model ? std::unique_ptr<QDialog>(new EditView(*model, parent)) : nullptr;
  });
  desktop.registerView("edall", [](platform::Window& window, QWidget* parent) {
    auto* model = dynamic_cast<editors::edall*>(&window);
    return model ? std::unique_ptr<QDialog>(new EdallView(*model, parent)) : nullptr;
  });
}

}  // namespace waymint::gui
