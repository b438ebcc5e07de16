#include "app/help_forms.h"

THelpWindow::THelpWindow(const QString& caption, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(caption);
}

THelp1form::THelp1form(QWidget* parent) : THelpWindow(QStringLiteral("Vortalis Help"), parent) {}
Thelp2form::Thelp2form(QWidget* parent) : THelpWindow(QStringLiteral("The Tractrix Horn"), parent) {}
THelp3Form::THelp3Form(QWidget* parent)
    : THelpWindow(QStringLiteral("Design considerations"), parent) {}
THelp5form::THelp5form(QWidget* parent) : THelpWindow(QStringLiteral("Legal information"), parent) {}
