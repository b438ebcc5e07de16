#include "report/waitform.h"

#include <QProgressBar>
#include <QPushButton>

Twaitform::Twaitform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Calculation in action"));
  tick = new QProgressBar(this);
  tick->setRange(0, 100);
  tick->setValue(100);
  Button1 = new QPushButton(QStringLiteral("&Abort"), this);
  connect(Button1, &QPushButton::clicked, this, &Twaitform::Button1Click);
}

void Twaitform::SetHornKind(const QString& kind) { hornKind_ = kind; }
QString Twaitform::HornKind() const { return hornKind_; }
void Twaitform::ClearAbort() { abortMarker_.clear(); }
bool Twaitform::AbortRequested() const { return abortMarker_ == QStringLiteral("Tryckt"); }
void Twaitform::SetPosition(int position) { tick->setValue(position > 100 ? 100 : position); }

void Twaitform::Button1Click() {
  abortMarker_ = QStringLiteral("Tryckt");
  hide();
}
