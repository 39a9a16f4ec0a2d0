// WAYMINT: the desktop program.
#include <QApplication>
#include <QSessionManager>
#include <QTimer>

#include <string>

#include "app/program.h"
#include "gui/edit_view.h"
#include "gui/f1_view.h"
#include "gui/info_views.h"
#include "gui/settings_view.h"
#include "platform/qt/qt_platform.h"
#include "workflow/connect.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  waymint::qt::QtPlatform platform;
  waymint::gui::registerInfoViews(platform);
  waymint::gui::registerEditorViews(platform);
  waymint::gui::registerDialogViews(platform);
  waymint::app::Program program(platform);
  waymint::workflow::connect(program);
  program.f1.Form_Load();
  waymint::gui::F1View view(program);
  platform.setMainWidget(&view);
  platform.onProgress([&view](const auto& shown) { view.showProgress(shown); });
  view.onCancel([&platform] { platform.requestCancel(); });
  // Logging off or shutting the system down asks the program to close like the close box.
  QObject::connect(&application, &QGuiApplication::commitDataRequest,
                   [&program](QSessionManager&) { program.f1.Form_QueryUnload(); });
  view.show();
  // A file named on the command line (QApplication has taken out the options that are its
  // own) opens once the window shows, as the desktop's "Open with" expects.
  if (argc > 1) {
    QTimer::singleShot(0, &view, [&program, path = std::string(argv[1])] {
      program.f1.openCommandLineFile(path);
    });
  }
  return application.exec();
}
