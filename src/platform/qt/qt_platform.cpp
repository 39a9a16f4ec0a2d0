#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/memory_status.h"
#include "platform/qt/text.h"
#include "platform/window.h"

namespace waymint::qt {
namespace {

using platform::Answer;
using platform::Buttons;

const char* const programTitle = "WAYMINT";
// Between two real passes of the event loop: often enough to repaint more than ten times a
// second, rarely enough that a yield per record costs nothing.
constexpr qint64 yieldIntervalMs = 30;

QDialogButtonBox::StandardButtons standardButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel: return QDialogButtonBox::Ok | QDialogButtonBox::Cancel;
    case Buttons::YesNo: return QDialogButtonBox::Yes | QDialogButtonBox::No;
    case Buttons::Ok: break;
  }
  return QDialogButtonBox::Ok;
}

Answer answerFor(QDialogButtonBox::StandardButton button, Buttons buttons) {
  switch (button) {
    case QDialogButtonBox::Ok: return Answer::Ok;
    case QDialogButtonBox::Yes: return Answer::Yes;
    case QDialogButtonBox::No: return Answer::No;
    case QDialogButtonBox::Cancel: return Answer::Cancel;
    default: break;
  }
  // Closed with the window's close box or Escape.
  switch (buttons) {
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::Ok: break;
  }
  return Answer::Ok;
}

bool isLong(const QString& text) { return text.size() > 1500 || text.count(QLatin1Char('\n')) > 25; }

// A long text (a whole file) scrolls inside a box sized to fit the screen.
Answer longMessage(QWidget* parent, const QString& text, Buttons buttons) {
  QDialog dialog(parent);
  dialog.setWindowTitle(programTitle);
  auto* layout = new QVBoxLayout(&dialog);
  auto* view = new QPlainTextEdit(text, &dialog);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(view);
  auto* box = new QDialogButtonBox(standardButtons(buttons), &dialog);
  layout->addWidget(box);
  QDialogButtonBox::StandardButton pressed = QDialogButtonBox::NoButton;
  QObject::connect(box, &QDialogButtonBox::clicked, &dialog, [&](QAbstractButton* button) {
    pressed = box->standardButton(button);
    dialog.accept();
  });
  QRect screen = (parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())
                     ->availableGeometry();
  dialog.resize(std::min(900, screen.width() * 4 / 5), std::min(700, screen.height() * 4 / 5));
  dialog.exec();
  return answerFor(pressed, buttons);
}

}  // namespace

QtPlatform::QtPlatform() { m_sinceEvents.start(); }

Answer QtPlatform::messageBox(const std::string& bytes, Buttons buttons, Answer preset) {
  QString text = toQString(bytes);
  if (isLong(text)) return longMessage(m_mainWidget, text, buttons);
  QMessageBox box(m_mainWidget);
  box.setWindowTitle(programTitle);
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  }
  switch (preset) {
    case Answer::Ok: box.setDefaultButton(QMessageBox::Ok); break;
    case Answer::Cancel: box.setDefaultButton(QMessageBox::Cancel); break;
    case Answer::Yes: box.setDefaultButton(QMessageBox::Yes); break;
    case Answer::No: box.setDefaultButton(QMessageBox::No); break;
  }
  box.exec();
  auto pressed = static_cast<QDialogButtonBox::StandardButton>(
      box.clickedButton() ? box.standardButton(box.clickedButton()) : QMessageBox::NoButton);
  return answerFor(pressed, buttons);
}

std::optional<std::string> QtPlatform::openFileDialog(const platform::OpenDialogRequest& request) {
  QFileDialog dialog(m_mainWidget, QStringLiteral("Open"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  QStringList filters;
  for (const std::string& filter : request.filters) filters << toQString(filter);
  if (filters.isEmpty()) filters << toQString(request.pattern) << QStringLiteral("All files (*)");
  dialog.setNameFilters(filters);
  QString suffix = toQString(request.defaultExtension);
  while (suffix.startsWith(QLatin1Char('*')) || suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (!request.initialFolder.empty()) dialog.setDirectory(toQString(request.initialFolder));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return toBytes(dialog.selectedFiles().first());
}

void QtPlatform::setBusyPointer(bool busy) {
  if (busy == m_busy) return;
  m_busy = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
}

void QtPlatform::yield() {
  if (m_sinceEvents.elapsed() < yieldIntervalMs) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  m_sinceEvents.restart();
}

double QtPlatform::secondsSinceMidnight() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

bool QtPlatform::shellOpen(const std::string& /*verb*/, const std::string& target,
                           const std::string& workingFolder, int /*show*/) {
  if (target.empty()) return false;
  const QString text = toQString(target);
  // A program is started on its own; a file or a web page goes to the program the desktop has
  // for it. Either returns at once.
  const QFileInfo file(text);
  if (!text.contains(QStringLiteral("://")) && file.isFile() && file.isExecutable()) {
    return QProcess::startDetached(file.absoluteFilePath(), {}, toQString(workingFolder));
  }
  return QDesktopServices::openUrl(text.contains(QStringLiteral("://")) ? QUrl(text)
                                                                        : QUrl::fromLocalFile(text));
}

std::optional<int> QtPlatform::memoryLoadPercent() { return platform::physicalMemoryLoadPercent(); }

void QtPlatform::showModal(platform::Window& window) {
  auto factory = m_views.find(window.name());
  if (factory == m_views.end()) return;
  std::unique_ptr<QDialog> view = factory->second(window, m_mainWidget);
  if (!view) return;
  // The window's activation handler runs as it opens, before it is first drawn, as the headless
  // platform runs it: what the handler fills in is there when the user first sees the window.
  // (Run on the view's activation event, it came after the window was up, late on a busy
  // machine.)
  window.Form_Activate();
  if (!window.closed()) view->exec();
}

void QtPlatform::progress(const std::string& activity, double fraction, bool cancellable) {
  if (m_progressSink) m_progressSink(Shown{activity, fraction, cancellable});
}

void QtPlatform::progressDone() {
  m_cancel = false;
  if (m_progressSink) m_progressSink(std::nullopt);
}

std::uint64_t QtPlatform::memoryForLoading() {
  return platform::availableMemory().value_or(std::uint64_t{4} << 30);
}

std::string QtPlatform::decimalSeparator() { return toBytes(QLocale().decimalPoint()); }

std::string QtPlatform::executableFolder() {
  return toBytes(QCoreApplication::applicationDirPath());
}

void QtPlatform::endProcess() {
  // Leaves every event loop, modal windows' included; the windows go with the process.
  QCoreApplication::exit(0);
}

}  // namespace waymint::qt
