#include <QCoreApplication>
#include <cstdio>
#include <string_view>

#include "app/design_files.h"
#include "app/main_form.h"
#include "app/program_art.h"
#include "app/start_form.h"
#include "app/startup.h"
#include "app/vortalis_application.h"

using namespace vortalis::app;

namespace {

constexpr std::string_view kHelp =
    "Usage: vortalis [OPTION]... [DESIGN.vortalis]\n"
    "A desktop calculator for tractrix loudspeaker horns, from infrasonic bass horns\n"
    "to tweeters. Describe a circular or rectangular horn in its settings dialog, see\n"
    "the horn length and mouth size at once, and get the full table of measures from\n"
    "the throat to the mouth as a text report to edit, save and print, or the horn's\n"
    "profile as a CSV, DXF or SVG file and as a full-size template.\n"
    "A design file given opens in its settings dialog.\n"
    "\n"
    "  -h, --help     show this text and exit\n"
    "  -V, --version  print the version and exit\n"
    "\n"
    "Qt's standard options, such as -platform and -style, are also understood.\n"
    "The same reports and drawings without windows: vortalis-report.\n";

// --help and --version are answered before the window system is needed, so
// that they work without a display.
bool AnsweredWithoutWindows(int argc, char* argv[], int& status) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string_view text;
    if (arg == "--help" || arg == "-h") text = kHelp;
    if (arg == "--version" || arg == "-V") text = "vortalis " VORTALIS_VERSION "\n";
    if (text.empty()) continue;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    status = written && std::fflush(stdout) == 0 ? 0 : 1;
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (int status = 0; AnsweredWithoutWindows(argc, argv, status)) return status;
  VortalisApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vortalis"));
  QApplication::setWindowIcon(ProgramIcon());
  // Only the main window ends the program; the dialogs floating above it do not.
  QApplication::setQuitOnLastWindowClosed(false);

  StartForm = new TStartForm;
  StartForm->ShowAndPaint();

  CreateLongLivedForms(SystemTickCount);

  StartForm->hide();
  delete StartForm;
  StartForm = nullptr;

  QObject::connect(Mainform, &TMainform::Closed, &application, &QCoreApplication::quit);
  Mainform->show();
  // Qt has taken its own options out: what is left is a design to open.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) Mainform->Designs->Open(arguments.at(1));
  const int result = QApplication::exec();
  // Whatever is still open, report windows included, goes without questions.
  DestroyLongLivedForms();
  return result;
}
