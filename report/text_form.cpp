#include "report/text_form.h"

TTextForm::TTextForm(QWidget* owner) : QWidget(nullptr) { Q_UNUSED(owner); }

TTextForm* TTextForm::Open(QWidget* owner) {
  Q_UNUSED(owner);
  return nullptr;  // The report window is not built yet.
}
