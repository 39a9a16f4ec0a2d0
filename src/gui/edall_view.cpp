#include "gui/edall_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editors/edall.h"
#include "gui/bindings.h"

namespace waymint::gui {

EdallView::EdallView(editors::edall& w, QWidget* parent) : WindowDialog(w, parent) {
  Bindings& b = bindings();
  auto* grid = new QGridLayout(this);

  auto* load = new QPushButton(this);
  b.button(w.Command2, load, [&w] { w.Command2_Click(); });
  grid->addWidget(load, 0, 0, 1, 4);

  auto* alert = new QCheckBox(this);
  b.checkBox(w.Check2, alert, [&w] { w.Check2_MouseUp(); });
  grid->addWidget(alert, 1, 0, 2, 1);
  for (int index : {0, 1}) {
    auto* label = new QLabel(this);
    b.label(w.Label2(index), label);
    grid->addWidget(label, 1 + index, 1);
    auto* box = new QLineEdit(this);
    b.textBox(w.Text3(index), box);
    grid->addWidget(box, 1 + index, 2, 1, 2);
  }

  grid->setRowStretch(3, 1);
  for (int index : {0, 1}) {
    auto* button = new QPushButton(this);
    b.button(w.Command1(index), button, [&w, index] { w.Command1_Click(index); });
    grid->addWidget(button, 4, 2 + index);
  }
  resize(400, 220);
}

}  // namespace waymint::gui
