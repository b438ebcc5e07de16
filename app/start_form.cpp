#include "app/start_form.h"

TStartForm::TStartForm(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("")); }
