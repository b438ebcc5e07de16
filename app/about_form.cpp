#include "app/about_form.h"

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("About Vortalis")); }
