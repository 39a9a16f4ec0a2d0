#include "gui/f1_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <map>

#include "app/program.h"
#include "gui/bindings.h"
#include "gui/category_list.h"
#include "gui/cut_name_tips.h"
#include "gui/shown_text.h"
#include "gui/whole_frames.h"
#include "platform/qt/text.h"
#include "workflow/category_workflow.h"
#include "workflow/choices.h"
#include "workflow/file_actions.h"
#include "workflow/menus.h"
#include "workflow/send_to_navigator.h"

namespace waymint::gui {
namespace {

QListView* fixedPitchList(QListView* list) {
  list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setItemDelegate(new CutNameTips(list));
  return list;
}

QListView* fixedPitchList(QWidget* parent) { return fixedPitchList(new QListView(parent)); }

// The letter that reaches each menu and menu entry from the keyboard (Alt+F, then O for Open).
// The models keep their captions; the view marks the letter.
const std::map<std::string, QChar>& mnemonics() {
  static const std::map<std::string, QChar> letters = {
      {"mfile", u'F'},  {"med", u'E'},    {"mtls", u'T'},    {"mhelp", u'H'},   {"mf(2)", u'O'},
      {"mf(4)", u'C'},  {"mf(6)", u'A'},  {"mf(8)", u'x'},   {"medd(0)", u'I'}, {"medd(2)", u'A'},
      {"mtl(0)", u'P'}, {"mtl(2)", u'S'}, {"mhlp(0)", u'M'}, {"mhlp(2)", u'U'}};
  return letters;
}

// A caption with its "&" shown as itself and its mnemonic letter, if it has one, marked.
QString withMnemonic(const QString& caption, const std::string& name) {
  QString shown = QString(caption).replace(u'&', QStringLiteral("&&"));
  const auto letter = mnemonics().find(name);
  if (letter == mnemonics().end()) return shown;
  const qsizetype at = shown.indexOf(letter->second);
  if (at >= 0) shown.insert(at, u'&');
  return shown;
}

QLabel* stepNumber(QWidget* parent) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 2.0);
  font.setBold(true);
  label->setFont(font);
  return label;
}

QFrame* panel(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setAutoFillBackground(true);
  return frame;
}

QFrame* line(QWidget* parent, QFrame::Shape shape) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(shape);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

}  // namespace

F1View::F1View(app::Program& program)
    : m_program(program), m_bindings(new Bindings(this)) {
  WholeFramesStyle::install();
  setWindowIcon(QIcon(QStringLiteral(":/icons/waymint.png")));
  m_bindings->window(program.f1, this);
  setCentralWidget(buildWorkflow());
  buildMenus();
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("progress"));
  m_progress->setRange(0, 1000);
  m_progress->setVisible(false);
  statusBar()->addPermanentWidget(m_progress, 1);
  m_cancelButton = new QPushButton(tr("Cancel"), this);
  m_cancelButton->setObjectName(QStringLiteral("cancel"));
  m_cancelButton->setVisible(false);
  connect(m_cancelButton, &QPushButton::clicked, this, [this] {
    if (m_cancel) m_cancel();
  });
  statusBar()->addPermanentWidget(m_cancelButton);
  setAcceptDrops(true);
  // The layout keeps the window's minimum size at one where every caption is whole (the
  // shortened paths take little of it), following the captions as they change; the first
  // size fits the screen the window opens on.
  layout()->activate();
  const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
  resize(
      firstSize(shownOn ? shownOn->availableGeometry().size() : QSize(1100, 640), minimumSize()));
}

QSize F1View::firstSize(const QSize& available, const QSize& minimum) {
  const QSize room(available.width() * 9 / 10, available.height() * 9 / 10);
  return QSize(1100, 640).boundedTo(room).expandedTo(minimum);
}

QWidget* F1View::buildWorkflow() {
  auto* background = new QFrame;
  background->setAutoFillBackground(true);
  m_bindings->plain(m_program.f1.Shape6, background);
  auto* columns = new QHBoxLayout(background);
  columns->addWidget(buildCategoryPanel(background), 3);
  auto* divider = line(background, QFrame::VLine);
  m_bindings->plain(m_program.f1.v(0), divider);
  columns->addWidget(divider);
  columns->addWidget(buildPoiPanel(background), 3);
  columns->addWidget(buildGpxPanel(background), 3);
  columns->addWidget(buildResultPanel(background), 4);
  return background;
}

// 1: open an OSM file and pick a category.
QWidget* F1View::buildCategoryPanel(QWidget* parent) {
  app::Program& p = m_program;
  app::f1& w = p.f1;
  Bindings& b = *m_bindings;
  auto* step = panel(parent);
  b.plain(w.Shape1, step);
  auto* column = new QVBoxLayout(step);
  auto* head = new QHBoxLayout;
  auto* number = stepNumber(step);
  b.label(w.Label3(0), number);
  head->addWidget(number);
  auto* load = new QPushButton(step);
  b.button(w.Command2(0), load, [&p] { workflow::Command2_Click(p, 0); });
  head->addWidget(load, 1);
  column->addLayout(head);
  // The choices of what a POI is and what its waypoint holds, each with its one-line
  // explanation beneath, where a user meets them before the categories.
  const struct {
    platform::CheckBox& box;
    platform::Label& explanation;
    void (*handler)(app::Program&);
  } choices[] = {{w.Check3, w.Label8(0), workflow::Check3_MouseUp},
                 {w.Check4, w.Label8(1), workflow::Check4_MouseUp},
                 {w.Check5, w.Label8(2), workflow::Check5_MouseUp}};
  for (const auto& choice : choices) {
    auto* box = new QCheckBox(step);
    b.checkBox(choice.box, box, [&p, handler = choice.handler] { handler(p); });
    column->addWidget(box);
    auto* explanation = new QLabel(step);
    QFont small = explanation->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    explanation->setFont(small);
    explanation->setIndent(20);
    explanation->setWordWrap(true);  // one line where the column is wide enough
    b.label(choice.explanation, explanation);
    column->addWidget(explanation);
  }
  auto* clickHint = new QLabel(step);
  b.label(w.Label1(2), clickHint);
  column->addWidget(clickHint);
  // The categories filtered as the user types (Ctrl+F goes there), the list as the model has it.
  auto* filter = new QLineEdit(step);
  b.textBox(w.Text5, filter);
  filter->setPlaceholderText(tr("Filter"));
  filter->setClearButtonEnabled(true);
  column->addWidget(filter);
  const auto showCategory = [&p] { workflow::List1_MouseDown(p, 2); };
  auto* categories = fixedPitchList(new CategoryList(step, keyboardSettleMs, showCategory));
  b.listBox(w.List1(2), categories, showCategory, {.filter = filter});
  column->addWidget(categories, 1);
  new FilterKeys(filter, categories);
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, filter, [filter] {
    filter->setFocus(Qt::ShortcutFocusReason);
    filter->selectAll();
  });
  return step;
}

// 2: the POIs of the category.
QWidget* F1View::buildPoiPanel(QWidget* parent) {
  app::Program& p = m_program;
  app::f1& w = p.f1;
  Bindings& b = *m_bindings;
  auto* step = panel(parent);
  b.plain(w.Shape3(0), step);
  auto* column = new QVBoxLayout(step);
  auto* head = new QHBoxLayout;
  auto* number = stepNumber(step);
  b.label(w.Label3(1), number);
  head->addWidget(number);
  auto* found = new QLabel(step);
  b.label(w.Label1(0), found);
  head->addWidget(found, 1);
  column->addLayout(head);
  auto* pois = fixedPitchList(step);
  b.listBox(w.List1(0), pois, [&p] { workflow::List1_MouseDown(p, 0); }, {.decodeEntities = true});
  column->addWidget(pois, 1);
  return step;
}

// 3: where and how the GPX is written, a row of the grid after the other.
QWidget* F1View::buildGpxPanel(QWidget* parent) {
  app::Program& p = m_program;
  app::f1& w = p.f1;
  Bindings& b = *m_bindings;
  auto* step = panel(parent);
  b.plain(w.Shape4, step);
  auto* grid = new QGridLayout(step);
  int row = 0;
  auto* number = stepNumber(step);
  b.label(w.Label3(2), number);
  grid->addWidget(number, row, 0);
  auto* pathLabel = new QLabel(step);
  b.label(w.Label1(1), pathLabel);
  grid->addWidget(pathLabel, row++, 1, 1, 3);
  auto* folder = new ElidedLineEdit(step);
  b.textBox(w.Text1, folder);
  grid->addWidget(folder, row, 0, 1, 3);
  auto* pick = new QToolButton(step);
  b.button(w.command5, pick, [&p] { workflow::command5_Click(p); });
  grid->addWidget(pick, row++, 3);
  row = addAlertAndSound(step, grid, row);
  row = addIcon(step, grid, row);
  auto* create = new QPushButton(step);
  b.button(w.Command1, create, [&p] { workflow::Command1_Click(p); });
  grid->addWidget(create, row++, 0, 1, 4);
  auto* addedLabel = new QLabel(step);
  b.label(w.Label5, addedLabel);
  grid->addWidget(addedLabel, row++, 0, 1, 4);
  auto* added = fixedPitchList(step);
  b.listBox(w.List2, added, {}, {.decodeEntities = true});
  grid->addWidget(added, row++, 0, 1, 4);
  grid->setRowStretch(row - 1, 1);
  return step;
}

// The proximity alert and the sound, between two rules, from `row` on; the next free row.
int F1View::addAlertAndSound(QWidget* step, QGridLayout* grid, int row) {
  app::Program& p = m_program;
  app::f1& w = p.f1;
  Bindings& b = *m_bindings;
  auto* above = line(step, QFrame::HLine);
  b.plain(w.Shape2(1), above);
  grid->addWidget(above, row++, 0, 1, 4);
  auto* alert = new QCheckBox(step);
  b.checkBox(w.Check2, alert, [&p] { workflow::Check2_MouseUp(p); });
  grid->addWidget(alert, row, 0);
  auto* speedLabel = new QLabel(step);
  b.label(w.Label2(0), speedLabel);
  grid->addWidget(speedLabel, row, 1);
  auto* speed = new QLineEdit(step);
  b.textBox(w.Text3(0), speed);
  grid->addWidget(speed, row++, 2, 1, 2);
  auto* proximityLabel = new QLabel(step);
  b.label(w.Label2(1), proximityLabel);
  grid->addWidget(proximityLabel, row, 1);
  auto* proximity = new QLineEdit(step);
  b.textBox(w.Text3(1), proximity);
  grid->addWidget(proximity, row++, 2, 1, 2);
  auto* sound = new QCheckBox(step);
  b.checkBox(w.Check1, sound, [&p] { workflow::Check1_MouseUp(p); });
  grid->addWidget(sound, row, 0);
  auto* wav = new QRadioButton(step);
  b.option(w.Opt(0), wav);
  grid->addWidget(wav, row, 1);
  auto* mp3 = new QRadioButton(step);
  b.option(w.Opt(1), mp3);
  grid->addWidget(mp3, row++, 2);
  auto* below = line(step, QFrame::HLine);
  b.plain(w.Shape3(1), below);
  grid->addWidget(below, row++, 0, 1, 4);
  return row;
}

// The category's icon and the folder of its GPX, from `row` on; the next free row.
int F1View::addIcon(QWidget* step, QGridLayout* grid, int row) {
  app::f1& w = m_program.f1;
  Bindings& b = *m_bindings;
  auto* bmpLabel = new QLabel(step);
  b.label(w.Label4(0), bmpLabel);
  grid->addWidget(bmpLabel, row, 0);
  auto* icon = new QLabel(step);
  icon->setMinimumSize(48, 48);
  b.picture(w.Image1, icon);
  grid->addWidget(icon, row, 1);
  auto* defaultIcon = new QLabel(step);
  defaultIcon->setFixedSize(0, 0);  // the source of the default icon, never shown itself
  b.picture(w.Picture1, defaultIcon);
  grid->addWidget(defaultIcon, row++, 2);
  auto* directoryLabel = new QLabel(step);
  b.label(w.Label4(3), directoryLabel);
  grid->addWidget(directoryLabel, row, 0);
  auto* directory = new QLineEdit(step);
  b.textBox(w.Text4, directory);
  grid->addWidget(directory, row++, 1, 1, 3);
  return row;
}

// 4: the GPX as it stands, and the programs that take it further.
QWidget* F1View::buildResultPanel(QWidget* parent) {
  app::Program& p = m_program;
  app::f1& w = p.f1;
  Bindings& b = *m_bindings;
  auto* step = panel(parent);
  b.plain(w.Shape5, step);
  auto* column = new QVBoxLayout(step);
  auto* head = new QHBoxLayout;
  auto* number = stepNumber(step);
  b.label(w.Label3(3), number);
  head->addWidget(number);
  auto* selected = new QLabel(step);
  b.label(w.Label4(1), selected);
  head->addWidget(selected);
  head->addStretch(1);
  column->addLayout(head);
  // The GPX path has the column's whole width, and is shortened in its middle rather than
  // widening the window when it is longer.
  auto* selectedPath = new ElidedLabel(step);
  b.label(w.Label4(2), selectedPath);
  column->addWidget(selectedPath);
  auto* contents = new QLabel(step);
  b.label(w.Label7, contents);
  column->addWidget(contents);
  column->addLayout(buildWaypointList(step), 1);
  auto* actions = new QHBoxLayout;
  auto* show = new QPushButton(step);
  b.button(w.Command3, show, [&p] { workflow::Command3_Click(p); });
  actions->addWidget(show);
  auto* remove = new QPushButton(step);
  b.button(w.Command4, remove, [&p] { workflow::Command4_Click(p); });
  actions->addWidget(remove);
  column->addLayout(actions);
  auto* launchers = new QHBoxLayout;
  auto* pixmold = new QToolButton(step);
  b.pictureButton(w.Picture5(0), pixmold, [&p] { workflow::Picture5_Click(p, 0); });
  launchers->addWidget(pixmold);
  auto* loader = new QToolButton(step);
  b.pictureButton(w.Picture5(1), loader, [&p] { workflow::Picture5_Click(p, 1); });
  launchers->addWidget(loader);
  auto* send = new QPushButton(step);
  b.button(w.Command6, send, [&p] { workflow::Command6_Click(p); });
  launchers->addWidget(send);
  launchers->addStretch(1);
  column->addLayout(launchers);
  return step;
}

// The waypoints the GPX holds, with the notice that it has none laid over them.
QGridLayout* F1View::buildWaypointList(QWidget* step) {
  app::f1& w = m_program.f1;
  Bindings& b = *m_bindings;
  auto* area = new QGridLayout;
  auto* waypoints = fixedPitchList(step);
  b.listBox(w.List3, waypoints, {}, {.decodeEntities = true});
  area->addWidget(waypoints, 0, 0);
  auto* notice = new QFrame(step);
  notice->setFrameShape(QFrame::Box);
  notice->setAutoFillBackground(true);
  b.plain(w.Frame1, notice);
  auto* noticeLayout = new QVBoxLayout(notice);
  auto* noticeText = new QLabel(notice);
  noticeText->setAlignment(Qt::AlignCenter);
  b.label(w.Label6, noticeText);
  noticeLayout->addWidget(noticeText);
  area->addWidget(notice, 0, 0, Qt::AlignCenter);
  return area;
}

void F1View::buildMenus() {
  app::Program& p = m_program;
  app::f1& w = p.f1;
  Bindings& b = *m_bindings;
  struct Group {
    platform::MenuEntry& top;
    platform::ControlArray<platform::MenuEntry>& entries;
    std::function<void(int)> handler;
  };
  Group groups[] = {
      {w.mfile, w.mf, [&w](int index) { w.mf_Click(index); }},
      {w.med, w.medd, [&p](int index) { workflow::medd_Click(p, index); }},
      {w.mtls, w.mtl, [&p](int index) { workflow::mtl_Click(p, index); }},
      {w.mhelp, w.mhlp, [&p](int index) { workflow::mhlp_Click(p, index); }},
  };
  const std::map<std::string, QKeySequence> shortcuts = {
      {"mf(2)", QKeySequence(Qt::CTRL | Qt::Key_O)},  // Open
      {"mf(8)", QKeySequence(Qt::CTRL | Qt::Key_Q)},  // Exit
      {"mhlp(0)", QKeySequence(Qt::Key_F1)}};         // the manual
  for (Group& group : groups) {
    QMenu* menu =
        menuBar()->addMenu(withMnemonic(qt::toQString(group.top.caption()), group.top.name()));
    menu->setObjectName(QString::fromStdString(group.top.name()));
    for (auto& [index, entry] : group.entries.members()) {
      const bool recentFile = &group.entries == &w.mf && index >= 9;
      if (recentFile && index == 9) menu->addSeparator();
      QAction* action = menu->addAction(QString());
      std::function<void()> click;
      if (group.handler) click = [handler = group.handler, index = index] { handler(index); };
      std::function<QString(const QString&)> shown;
      if (recentFile) {
        // The recent files are numbered as shown ("&1 /path/a.osm"), not as kept.
        shown = [number = index - 8](const QString& caption) {
          if (caption.isEmpty()) return QString();
          return QStringLiteral("&%1 ").arg(number) +
                 QString(caption).replace(u'&', QStringLiteral("&&"));
        };
      } else {
        shown = [name = entry.name()](const QString& caption) {
          return withMnemonic(caption, name);
        };
      }
      b.menuEntry(entry, action, click, shown);
      if (auto key = shortcuts.find(entry.name()); key != shortcuts.end())
        action->setShortcut(key->second);
    }
  }
}

void F1View::showProgress(const std::optional<qt::QtPlatform::Shown>& shown) {
  m_progress->setVisible(shown.has_value());
  m_cancelButton->setVisible(shown && shown->cancellable);
  if (!shown) return;
  // "%" is the bar's own mark for what follows; a file name may hold one.
  m_progress->setFormat(qt::toQString(shown->activity).replace('%', QStringLiteral("%%")) +
                        QStringLiteral(" %p%"));
  m_progress->setValue(static_cast<int>(shown->fraction * 1000.0));
}

void F1View::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && m_cancelButton->isVisible()) {
    m_cancelButton->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

namespace {

// The first local file of a drag, if it carries one.
std::optional<QString> droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return std::nullopt;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return std::nullopt;
}

}  // namespace

void F1View::dragEnterEvent(QDragEnterEvent* event) {
  if (droppedFile(event->mimeData())) event->acceptProposedAction();
}

void F1View::dropEvent(QDropEvent* event) {
  const auto file = droppedFile(event->mimeData());
  if (!file) return;
  event->acceptProposedAction();
  // The file opens after the drop has ended, so that the program that dragged it goes on.
  QTimer::singleShot(0, this, [this, path = *file] {
    m_program.f1.Form_OLEDragDrop(qt::toBytes(path));
  });
}

void F1View::closeEvent(QCloseEvent* event) {
  // The model decides: it closes now, or when the load or run in progress has ended.
  m_program.f1.requestClose();
  if (m_program.f1.closed()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace waymint::gui
