#pragma once

#include <QDialog>
#include <QString>

class QProgressBar;
class QPushButton;

namespace vortalis::report_window {

// The calculation progress window. It also carries the horn kind ("Circ" or
// "Rec") and the abort marker ("Tryckt" once Abort was pressed): the settings
// dialogs, the report window and the generators coordinate one calculation
// through these two texts.
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
  // Positions above 100 show a full bar.
  void SetPosition(int position);

  void Button1Click();

  // True while a report window's generator runs.
  bool Calculating() const { return calculating_; }
  void SetCalculating(bool calculating) { calculating_ = calculating; }

  // Neither Esc nor the window manager may hide the window behind the
  // generator's back: only Abort and the generator's own end do.
  void reject() override {}

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QString hornKind_;
  QString abortMarker_;
  bool calculating_ = false;
  bool placed_ = false;
};

// The process-wide reference to the window, assigned before its own create
// handler runs; it lives until the program ends.
extern Twaitform* waitform;

}  // namespace vortalis::report_window
