#pragma once

#include <QDialog>
#include <QString>

class QProgressBar;
class QPushButton;

// The calculation progress window. It also carries the horn kind ("Circ" or
// "Rec") and the abort marker ("Tryckt" once Abort was pressed).
class Twaitform : public QDialog {
  Q_OBJECT
 public:
  explicit Twaitform(QWidget* parent = nullptr);

  QProgressBar* tick = nullptr;
  QPushButton* Button1 = nullptr;

  void SetHornKind(const QString& kind);
  QString HornKind() const;
  void ClearAbort();
  bool AbortRequested() const;
  void SetPosition(int position);

  void Button1Click();

  // True while a report window's generator runs.
  bool Calculating() const { return calculating_; }
  void SetCalculating(bool calculating) { calculating_ = calculating; }

 private:
  QString hornKind_;
  QString abortMarker_;
  bool calculating_ = false;
};
