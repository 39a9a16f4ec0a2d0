// WAYMINT: the desktop program.
#include <QApplication>
#include <QSessionManager>

#include "app/program.h"
#include "platform/qt/f1_view.h"
#include "platform/qt/edit_view.h"
#include "platform/qt/info_views.h"
#include "platform/qt/settings_view.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  waymint::qt::QtPlatform platform;
  waymint::qt::registerInfoViews(platform);
  waymint::qt::registerEditorViews(platform);
  waymint::qt::registerDialogViews(platform);
  waymint::app::Program program(platform);
  program.f1.Form_Load();
  waymint::qt::F1View view(program);
  platform.setMainWidget(&view);
  platform.onProgress([&view](std::optional<double> fraction) { view.showProgress(fraction); });
  // Logging off or shutting the system down asks the program to close like the close box.
  QObject::connect(&application, &QGuiApplication::commitDataRequest,
                   [&program](QSessionManager&) { program.f1.Form_QueryUnload(); });
  view.show();
  return application.exec();
}
