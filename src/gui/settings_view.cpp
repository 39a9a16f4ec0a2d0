#include "gui/settings_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

#include "dialogs/folders.h"
#include "dialogs/settings.h"
#include "gui/bindings.h"
#include "gui/folders_view.h"
#include "platform/qt/qt_platform.h"

namespace waymint::gui {

SettingsView::SettingsView(dialogs::settings& w, QWidget* parent) : WindowDialog(w, parent) {
  Bindings& b = bindings();
  auto* grid = new QGridLayout(this);
  struct Row {
    int label;
    int index;
  };
  int line = 0;
  for (Row row : {Row{0, 0}, Row{5, 1}}) {
    auto* label = new QLabel(this);
    b.label(w.Label1(row.label), label);
    grid->addWidget(label, line++, 0, 1, 2);
    auto* path = new QLineEdit(this);
    b.textBox(w.Text1(row.index), path);
    grid->addWidget(path, line, 0);
    auto* browse = new QPushButton(this);
    browse->setMaximumWidth(40);
    browse->setAutoDefault(false);  // Enter in a path box is OK, not another pick
    b.button(w.Command2(row.index), browse, [&w, index = row.index] { w.Command2_Click(index); });
    grid->addWidget(browse, line++, 1);
  }
  grid->setRowStretch(line++, 1);
  auto* ok = new QPushButton(this);
  b.button(w.Command3, ok, [&w] { w.Command3_Click(); });
  ok->setDefault(true);
  grid->addWidget(ok, line, 0, 1, 2, Qt::AlignRight);
  resize(480, 200);
}

void registerDialogViews(qt::QtPlatform& desktop) {
  desktop.registerView("settings", [](platform::Window& window, QWidget* parent) {
    auto* model = dynamic_cast<dialogs::settings*>(&window);
    return model ? std::unique_ptr<QDialog>(new SettingsView(*model, parent)) : nullptr;
  });
  desktop.registerView("folders", [](platform::Window& window, QWidget* parent) {
    auto* model = dynamic_cast<dialogs::folders*>(&window);
    return model ? std::unique_ptr<QDialog>(new FoldersView(*model, parent)) : nullptr;
  });
}

}  // namespace waymint::gui
