#include "app/startup.h"

#include <chrono>

#include "app/about_form.h"
#include "app/help_forms.h"
#include "app/main_form.h"
#include "report_window/waitform.h"
#include "settings/sett_circ_form.h"
#include "settings/sett_rec_form.h"

namespace vortalis::app {

using namespace report_window;
using namespace settings;

std::uint32_t SystemTickCount() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void CreateLongLivedForms(const TickCounter& ticks) {
  // Each reference is set before the window's create handler runs, so the
  // handler may already reach its own window through it.
  Mainform = new TMainform;
  Mainform->FormCreate(ticks);
  SettCircForm = new TSettCircForm;
  SettCircForm->FormCreate();
  AboutForm = new TAboutForm;
  waitform = new Twaitform;
  SettRecForm = new TSettRecForm;
  SettRecForm->FormCreate();
  Help1form = new THelp1form;
  Help3Form = new THelp3Form;
  help2form = new Thelp2form;
  Help5form = new THelp5form;
}

namespace {

template <class Form>
void Destroy(Form*& reference) {
  Form* form = reference;
  reference = nullptr;
  delete form;
}

}  // namespace

void DestroyLongLivedForms() {
  // Reverse order; the main window goes last and takes the report windows with it.
  Destroy(Help5form);
  Destroy(help2form);
  Destroy(Help3Form);
  Destroy(Help1form);
  Destroy(SettRecForm);
  Destroy(waitform);
  Destroy(AboutForm);
  Destroy(SettCircForm);
  Destroy(Mainform);
}

}  // namespace vortalis::app
