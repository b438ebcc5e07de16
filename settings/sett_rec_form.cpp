#include "settings/sett_rec_form.h"

TSettRecForm::TSettRecForm(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("Rectangular horn settings")); }
