// The About window and the Updates window on screen.
#include "gui/info_views.h"

#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/info.h"
#include "dialogs/updat.h"
#include "gui/bindings.h"
#include "platform/qt/qt_platform.h"
#include "gui/window_dialog.h"

namespace waymint::gui {
namespace {

QFont fontOf(const char* family, double points, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

class InfoView : public WindowDialog {
 public:
  InfoView(dialogs::Info& model, QWidget* parent) : WindowDialog(model, parent) {
    Bindings& b = bindings();
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    b.picture(model.Picture1, icon);
    top->addWidget(icon);
    auto* titles = new QVBoxLayout;
    auto* name = new QLabel(this);
    name->setFont(fontOf("Arial Narrow", 16.5, true));
    b.label(model.Label9, name);
    titles->addWidget(name);
    auto* version = new QLabel(this);
    version->setFont(fontOf("Arial Narrow", 7.5, true));
    b.label(model.Label1, version);
    titles->addWidget(version);
    top->addLayout(titles, 1);
    layout->addLayout(top);

    auto* middle = new QFrame(this);
    middle->setFrameShape(QFrame::Box);
    b.plain(model.Shape1, middle);
    auto* middleLayout = new QVBoxLayout(middle);
    auto* beta = new QLabel(middle);
    beta->setFont(fontOf("MS Sans Serif", 9.75, true));
    b.label(model.Label10, beta);
    middleLayout->addWidget(beta);
    auto* notice = new QLabel(middle);
    b.label(model.Label8, notice);
    middleLayout->addWidget(notice);
    layout->addWidget(middle);

    auto* band = new QFrame(this);
    band->setAutoFillBackground(true);
    band->setStyleSheet(QStringLiteral("background-color: rgb(46,62,80);"));
    b.plain(model.Shape2, band);
    auto* bandLayout = new QHBoxLayout(band);
    auto* memory = new QLabel(band);
    memory->setStyleSheet(QStringLiteral("color: white;"));
    b.label(model.Label7, memory);
    bandLayout->addWidget(memory);
    bandLayout->addStretch(1);
    auto* load = new QLabel(band);
    b.label(model.Label4, load);
    bandLayout->addWidget(load);
    layout->addWidget(band);

    auto* ok = new QPushButton(this);
    b.button(model.Command1, ok, [&model] { model.Command1_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    resize(340, 220);
  }
};

// Sends mouse moves over a widget, presses on it and the pointer leaving it to its handlers.
// The widget takes the event: a move over the link must not reach the panel below it, whose
// handler would turn the link blue again at once.
class MouseWatch : public QObject {
 public:
  MouseWatch(QWidget* target, std::function<void()> onMove, std::function<void()> onPress,
             std::function<void()> onLeave = {})
      : QObject(target),
        m_onMove(std::move(onMove)),
        m_onPress(std::move(onPress)),
        m_onLeave(std::move(onLeave)) {
    target->setMouseTracking(true);
    target->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseMove && m_onMove) {
      m_onMove();
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress && m_onPress) {
      m_onPress();
      return true;
    }
    if (event->type() == QEvent::Leave && m_onLeave) m_onLeave();
    return false;
  }

 private:
  std::function<void()> m_onMove;
  std::function<void()> m_onPress;
  std::function<void()> m_onLeave;
};

class UpdatView : public WindowDialog {
 public:
  UpdatView(dialogs::updat& model, QWidget* parent) : WindowDialog(model, parent) {
    Bindings& b = bindings();
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setAutoFillBackground(true);
    b.plain(model.Shape4, panel);
    auto* panelLayout = new QVBoxLayout(panel);
    auto* version = new QLabel(panel);
    b.label(model.Label2, version);
    panelLayout->addWidget(version);
    auto* link = new QLabel(panel);
    link->setFont(fontOf("Arial Narrow", 13.5, false));
    link->setAlignment(Qt::AlignCenter);
    link->setCursor(Qt::PointingHandCursor);
    b.label(model.Label1, link);
    // The link is as wide as its words: a press beside them is a press on the panel.
    panelLayout->addWidget(link, 0, Qt::AlignHCenter);
    layout->addWidget(panel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = new QPushButton(this);
    b.button(model.Command2, cancel, [&model] { model.Command2_Click(); });
    buttons->addWidget(cancel);
    auto* download = new QPushButton(this);
    b.button(model.Command1, download, [&model] { model.Command1_Click(); });
    buttons->addWidget(download);
    layout->addLayout(buttons);

    new MouseWatch(this, [&model] { model.Form_MouseMove(); }, {});
    new MouseWatch(panel, [&model] { model.Form_MouseMove(); }, {});
    new MouseWatch(link, [&model] { model.Label1_MouseMove(); }, [&model] { model.Label1_MouseDown(); },
                   [&model] { model.Label1_MouseLeave(); });
    resize(360, 160);
  }
};

}  // namespace

void registerInfoViews(qt::QtPlatform& platform) {
  platform.registerView("Info", [](platform::Window& window, QWidget* parent) {
    return std::unique_ptr<QDialog>(new InfoView(static_cast<dialogs::Info&>(window), parent));
  });
  platform.registerView("updat", [](platform::Window& window, QWidget* parent) {
    return std::unique_ptr<QDialog>(new UpdatView(static_cast<dialogs::updat&>(window), parent));
  });
}

}  // namespace waymint::gui
