#pragma once

class QMdiArea;

namespace vortalis::ui {

// The main window as the windows below it see it: the frame that holds the
// report windows and ends the program.
class ProgramFrame {
 public:
  virtual QMdiArea* ReportArea() const = 0;
  // False once the program is ending (the main window was closed).
  virtual bool IsOpen() const = 0;
  // File > Quit: each report window is asked, then the program ends.
  virtual void Quit() = 0;

 protected:
  ~ProgramFrame() = default;
};

// The main window while it exists, else nullptr (a dialog tried on its own).
ProgramFrame* Frame();
void SetFrame(ProgramFrame* frame);

}  // namespace vortalis::ui
