#include "gui/folders_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/folders.h"
#include "gui/bindings.h"
#include "platform/qt/text.h"

namespace waymint::gui {
namespace {

void applyState(const platform::Control& model, QWidget* view) {
  view->setEnabled(model.enabled());
  view->setVisible(model.visible());
}

// The last step of a full path; the root shows as itself.
QString stepName(const std::string& path) {
  auto cut = path.find_last_of('/');
  if (cut == std::string::npos || path.size() == 1) return qt::toQString(path);
  return qt::toQString(std::string_view(path).substr(cut + 1));
}

}  // namespace

FoldersView::FoldersView(dialogs::folders& w, QWidget* parent)
    : WindowDialog(w, parent), m_window(w) {
  Bindings& b = bindings();
  auto* column = new QVBoxLayout(this);

  auto* text = new QLineEdit(this);
  b.textBox(w.Text1, text);
  column->addWidget(text);
  auto* folders = new QListWidget(this);
  bindFolderList(folders);
  column->addWidget(folders, 1);
  auto* drives = new QComboBox(this);
  bindDriveList(drives);
  column->addWidget(drives);
  auto* hint = new QLabel(this);
  b.label(w.Label1, hint);
  column->addWidget(hint);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (int index : {0, 1}) {
    auto* button = new QPushButton(this);
    b.button(w.Command1(index), button, [&w, index] { w.Command1_Click(index); });
    buttons->addWidget(button);
  }
  column->addLayout(buttons);
  resize(360, 440);
}

void FoldersView::bindFolderList(QListWidget* view) {
  platform::FolderList& model = m_window.Dir1;
  view->setObjectName(QString::fromStdString(model.name()));
  // Entries are rebuilt only when they change, not when the selection does.
  auto shown = std::make_shared<std::vector<std::string>>();
  auto refresh = [&model, view, shown] {
    const QSignalBlocker quiet(view);
    applyState(model, view);
    const int current = model.currentIndex();
    if (*shown != model.entries()) {
      *shown = model.entries();
      view->clear();
      const QIcon open = view->style()->standardIcon(QStyle::SP_DirOpenIcon);
      const QIcon closed = view->style()->standardIcon(QStyle::SP_DirClosedIcon);
      for (int row = 0; row < static_cast<int>(shown->size()); ++row) {
        const int depth = row <= current ? row : current + 1;
        auto* item = new QListWidgetItem(
            row <= current ? open : closed,
            QString(depth * 2, QLatin1Char(' ')) + stepName((*shown)[static_cast<size_t>(row)]),
            view);
        if (row == current) {
          QFont font = item->font();
          font.setBold(true);
          item->setFont(font);
        }
      }
    }
    view->setCurrentRow(model.selectedIndex() >= 0 ? model.selectedIndex() : current);
  };
  refresh();
  model.watch(refresh);
  connect(view, &QListWidget::currentRowChanged, this,
          [&model](int row) { model.setSelectedIndex(row); });
  connect(view, &QListWidget::itemActivated, this, [this, &model, view](QListWidgetItem* item) {
    model.setSelectedIndex(view->row(item));
    m_window.Dir1_DblClick();
  });
}

void FoldersView::bindDriveList(QComboBox* view) {
  platform::DriveList& model = m_window.Drive1;
  view->setObjectName(QString::fromStdString(model.name()));
  auto refresh = [&model, view] {
    const QSignalBlocker quiet(view);
    applyState(model, view);
    view->clear();
    int chosen = -1;
    for (const std::string& drive : model.drives()) {
      if (drive == model.drive()) chosen = view->count();
      view->addItem(qt::toQString(drive));
    }
    view->setCurrentIndex(chosen);
  };
  refresh();
  model.watch(refresh);
  // The list reports a choice of the drive already chosen too; only a change of drive
  // moves the folder list, so that the user keeps the folder they were in.
  connect(view, &QComboBox::activated, this, [this, &model](int index) {
    if (index < 0 || index >= static_cast<int>(model.drives().size())) return;
    const std::string& drive = model.drives()[static_cast<size_t>(index)];
    if (drive == model.drive()) return;
    model.setDrive(drive);
    m_window.Drive1_Change();
  });
}

}  // namespace waymint::gui
