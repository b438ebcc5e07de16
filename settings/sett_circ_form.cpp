#include "settings/sett_circ_form.h"

TSettCircForm::TSettCircForm(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Circular horn settings")); }
