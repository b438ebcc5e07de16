#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "report_window/report_calculation.h"

class QAction;
class QCloseEvent;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QPrinter;

namespace vortalis::report_window {

class TAcousticForm;
class TDriverForm;
class TBuildKitForm;
class TExportForm;
class TProfileForm;

// A report window: an editable text document inside the main window, filled
// by the generator of the current horn kind while it is created.
class TTextForm : public QWidget {
  Q_OBJECT
 public:
  // Creation; Open runs the generator of `source` while the window is still hidden.
  TTextForm(QWidget* owner, ReportSource source);
  ~TTextForm() override;

  // Creates a report window for `source`, runs its generator and shows it
  // inside the main window. Called by Calculate of both dialogs. Returns the
  // window, or nullptr if it was closed before this returned or the program
  // is ending.
  static TTextForm* Open(QWidget* owner, ReportSource source);

  // The text "Untitled" means that the document was never saved.
  QString FileName() const { return fileName_; }

  // The sub-window of the main window that holds this report.
  QMdiSubWindow* SubWindow() const;

  // The printer that every report window prints on; Printer setup changes it for all.
  static QPrinter& SharedPrinter();

  // What the report was computed from; its profile window, exports and
  // template describe this horn, whatever the dialogs hold now.
  const ReportSource& Source() const { return source_; }
  // The report's profile window, export dialog, acoustic loading window and
  // build kit dialog while they are open.
  TProfileForm* ProfileWindow() const;
  TExportForm* ExportDialog() const;
  TExportForm* TemplateDialog() const;
  TAcousticForm* AcousticWindow() const;
  TDriverForm* DriverWindow() const;
  TBuildKitForm* BuildKitDialog() const;

  QPlainTextEdit* reportText = nullptr;

  // The report's own menus; while the window is the active child they take the
  // place of the main window's File menu (menu bar: File, Edit, Settings, Windows, Help).
  QMenu* File1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Saveas1 = nullptr;
  QAction* Print1 = nullptr;
  QAction* Printersetup1 = nullptr;
  QAction* Close1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* Showprofile1 = nullptr;
  QAction* Exportprofile1 = nullptr;
  QAction* Exportpanels1 = nullptr;
  QAction* Printtemplate1 = nullptr;
  QAction* Acousticloading1 = nullptr;
  QAction* Driverresponse1 = nullptr;
  QAction* Buildkit1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Cut1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Paste1 = nullptr;
  QAction* Selectall1 = nullptr;

  void FormCreate();
  // False when the window was closed meanwhile or the program is ending.
  bool FormShow();
  // True when the window may close; asks whether to save a changed report.
  bool FormCloseQuery();
  void FormClose();

  void Save1Click();
  void Saveas1Click();
  void Print1Click();
  void Printersetup1Click();
  void Close1Click();
  void Exit1Click();
  void Showprofile1Click();
  void Exportprofile1Click();
  // A rectangular horn's four walls laid flat: the export dialog with the
  // panels chosen. The item is disabled for a circular horn, its tool tip says why.
  void Exportpanels1Click();
  // The export dialog, with the walls or the panels chosen.
  void OpenExport(bool panels);
  void Printtemplate1Click();
  void Acousticloading1Click();
  void Driverresponse1Click();
  void Buildkit1Click();
  void Edit1Click();
  void Undo1Click();
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Selectall1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildEditor();
  void BuildMenus();
  // Gives the hidden editor the size it will be shown with (`window` holds it).
  void TakeShownSize(QWidget& window);
  // Writes the file and clears the changed flag, or reports why it could not.
  void WriteFile();

  QString fileName_;
  QString design_;  // the design the report was computed from, if any
  ReportSource source_;
  QPointer<TProfileForm> profile_;
  QPointer<TExportForm> export_;
  QPointer<TExportForm> template_;
  QPointer<TAcousticForm> acoustic_;
  QPointer<TDriverForm> driver_;
  QPointer<TBuildKitForm> buildKit_;
};

}  // namespace vortalis::report_window
