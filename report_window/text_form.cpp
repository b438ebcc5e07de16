#include "report_window/text_form.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "buildkit/panels.h"
#include "export/full_size_template.h"
#include "output/output_error.h"
#include "report_window/acoustic_window.h"
#include "report_window/driver_window.h"
#include "report_window/export_dialog.h"
#include "report_window/build_kit_dialog.h"
#include "report_window/kit_memory.h"
#include "report_window/profile_window.h"
#include "report_window/report_modal.h"
#include "report_window/report_calculation.h"
#include "report_window/report_document_sink.h"
#include "report_window/report_file.h"
#include "report_window/report_printer.h"
#include "report_window/report_profile.h"
#include "report_window/report_text_format.h"
#include "report_window/waitform.h"
#include "ui/busy_cursor.h"
#include "ui/design_name.h"
#include "ui/locale_separators.h"
#include "ui/program_frame.h"
#include "ui/prompt.h"
#include "ui/shared_printer.h"
#include "ui/show_in_front.h"
#include "ui/widgets.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace vortalis::report_window {

using namespace ui;

namespace {

const QString kUntitled = QStringLiteral("Untitled");

// A new child window goes to the first place of the cascade (one title bar
// lower and further right each) that no other window holds, so that it never
// hides one exactly; the cascade starts again at the corner where a window
// would leave the frame.
void PlaceCascading(QMdiArea& area, QMdiSubWindow& window) {
  // A report still being computed has its hidden window in the area already.
  QList<QPoint> taken;
  for (const QMdiSubWindow* other : area.subWindowList()) {
    if (other != &window && other->isVisible()) taken << other->pos();
  }
  const int step = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  const QSize room = area.viewport()->size() - window.size();
  const int fitting = step > 0 ? qMax(qMin(room.width(), room.height()) / step + 1, 1) : 1;
  for (int place = 0; place < fitting; ++place) {
    const QPoint corner(place * step, place * step);
    if (!taken.contains(corner)) {
      window.move(corner);
      return;
    }
  }
  // Every place held: the next round of the cascade.
  const int offset = (static_cast<int>(taken.size()) % fitting) * step;
  window.move(offset, offset);
}

}  // namespace

TTextForm::~TTextForm() {
  delete buildKit_;
#ifdef __GLIBC__
  // A large report frees hundreds of megabytes that the C library would keep
  // for itself; hand them back once the document is really gone.
  if (QCoreApplication::instance()) QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
}

TTextForm::TTextForm(QWidget* owner, ReportSource source)
    : QWidget(nullptr), source_(std::move(source)) {
  // The owner (the dialog whose Calculate made this report) does not parent
  // the window: its parent is the main window's child frame, and the main
  // window destroys the reports still open when the program ends.
  Q_UNUSED(owner);
  setObjectName(QStringLiteral("TextForm"));
  // A report of a design is titled by the design until it is saved itself.
  design_ = CurrentDesignName();
  setWindowTitle(design_.isEmpty() ? QStringLiteral("Untiteld") : design_);
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  BuildEditor();
  BuildMenus();
}

void TTextForm::BuildEditor() {
  reportText = new QPlainTextEdit(this);
  reportText->setObjectName(QStringLiteral("RichEdit1"));
  reportText->setFont(ReportFont());
  QPalette palette = reportText->palette();
  palette.setColor(QPalette::Text, Qt::black);
  reportText->setPalette(palette);
  reportText->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  reportText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  reportText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  reportText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  reportText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  reportText->setTabChangesFocus(false);
  reportText->setTabStopDistance(ReportTabStopDistance());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(reportText);
  setFocusProxy(reportText);
}

void TTextForm::BuildMenus() {
  const auto key = [](QKeyCombination keys) { return QKeySequence(keys); };
  File1 = NewMenu(this, "File1", QStringLiteral("&File"));
  File1->setToolTipsVisible(true);  // a disabled item's tool tip says why
  Save1 = NewAction(File1, "Save1", QStringLiteral("&Save"), this, &TTextForm::Save1Click,
                    key(Qt::CTRL | Qt::Key_S));
  Saveas1 = NewAction(File1, "Saveas1", QStringLiteral("Save &as..."), this,
                      &TTextForm::Saveas1Click);
  File1->addSeparator();
  Print1 = NewAction(File1, "Print1", QStringLiteral("&Print..."), this, &TTextForm::Print1Click,
                     key(Qt::CTRL | Qt::Key_P));
  Printersetup1 = NewAction(File1, "Printersetup1", QStringLiteral("Printer set&up..."), this,
                            &TTextForm::Printersetup1Click);
  File1->addSeparator();
  Close1 = NewAction(File1, "Close1", QStringLiteral("&Close"), this, &TTextForm::Close1Click);
  Exit1 = NewAction(File1, "Exit1", QStringLiteral("&Quit"), this, &TTextForm::Exit1Click,
                    key(Qt::CTRL | Qt::Key_Q));
  File1->addSeparator();
  Showprofile1 = NewAction(File1, "Showprofile1", QStringLiteral("Sho&w profile..."), this,
                           &TTextForm::Showprofile1Click);
  Exportprofile1 = NewAction(File1, "Exportprofile1", QStringLiteral("E&xport profile..."), this,
                             &TTextForm::Exportprofile1Click);
  Exportpanels1 = NewAction(File1, "Exportpanels1", QStringLiteral("Export pa&nels..."), this,
                            &TTextForm::Exportpanels1Click);
  Printtemplate1 = NewAction(File1, "Printtemplate1",
                             QStringLiteral("Print full-size &template..."), this,
                             &TTextForm::Printtemplate1Click);
  Acousticloading1 = NewAction(File1, "Acousticloading1", QStringLiteral("Acoustic &loading..."),
                               this, &TTextForm::Acousticloading1Click);
  Driverresponse1 = NewAction(File1, "Driverresponse1", QStringLiteral("Dri&ver and response..."),
                              this, &TTextForm::Driverresponse1Click);
  Buildkit1 = NewAction(File1, "Buildkit1", QStringLiteral("&Build kit..."), this,
                        &TTextForm::Buildkit1Click);

  constexpr Qt::ShortcutContext kEditing = Qt::WindowShortcut;
  Edit1 = NewMenu(this, "Edit1", QStringLiteral("&Edit"));
  connect(Edit1, &QMenu::aboutToShow, this, &TTextForm::Edit1Click);
  Undo1 = NewAction(Edit1, "Undo1", QStringLiteral("&Undo"), this, &TTextForm::Undo1Click,
                    key(Qt::CTRL | Qt::Key_Z), kEditing);
  Edit1->addSeparator();
  Cut1 = NewAction(Edit1, "Cut1", QStringLiteral("Cu&t"), this, &TTextForm::Cut1Click,
                   key(Qt::CTRL | Qt::Key_X), kEditing);
  Copy1 = NewAction(Edit1, "Copy1", QStringLiteral("&Copy"), this, &TTextForm::Copy1Click,
                    key(Qt::CTRL | Qt::Key_C), kEditing);
  Paste1 = NewAction(Edit1, "Paste1", QStringLiteral("&Paste"), this, &TTextForm::Paste1Click,
                     key(Qt::CTRL | Qt::Key_V), kEditing);
  Selectall1 = NewAction(Edit1, "Selectall1", QStringLiteral("Select &all"), this,
                         &TTextForm::Selectall1Click, key(Qt::CTRL | Qt::Key_A), kEditing);
}

TTextForm* TTextForm::Open(QWidget* owner, ReportSource source) {
  auto* form = new TTextForm(owner, std::move(source));
  QWidget* window = form;
  if (Frame()) {
    QMdiArea* area = Frame()->ReportArea();
    QMdiSubWindow* child = area->addSubWindow(form);
    child->resize(537, 322);
    PlaceCascading(*area, *child);
    window = child;
  } else {
    // Without a main window (a dialog tried on its own) the report stands alone.
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->resize(537, 322);
  }
  const QPointer<TTextForm> alive(form);
  form->TakeShownSize(*window);
  form->FormCreate();
  // The hidden window sits in the frame during the calculation's event processing.
  if (!alive) {
    HideFinishedProgress();
    return nullptr;
  }
  form->reportText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  window->show();
  // Now that the editor has its size: a report whose last step replaced its
  // third line shows its beginning, one that ended by appending, its end.
  form->reportText->ensureCursorVisible();
  HideFinishedProgress();
  if (!form->FormShow()) return nullptr;
  return alive.data();
}

void TTextForm::TakeShownSize(QWidget& window) {
  // A hidden editor learns its width only when shown, and a new width lays
  // out every line of the document again (hundreds of bytes and a
  // microsecond a line). So the hidden window is laid out now, while the
  // document is empty, as rendering a hidden widget does; the scroll bar that
  // a long report needs is there from the start.
  reportText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QImage pixel(1, 1, QImage::Format_RGB32);
  QPainter painter(&pixel);
  window.render(&painter, QPoint(), QRegion(0, 0, 1, 1));
}

QMdiSubWindow* TTextForm::SubWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

QPrinter& TTextForm::SharedPrinter() { return ui::SharedPrinter(); }

void TTextForm::FormCreate() {
  fileName_ = kUntitled;
  // The window is hidden and takes no input while the generator writes into
  // its editor.
  for (QAction* item : {Showprofile1, Exportprofile1, Printtemplate1, Acousticloading1,
                        Driverresponse1, Buildkit1}) {
    item->setEnabled(HasHorn(source_));
  }
  // A circular horn has no panels; the panels' own refusal is the item's tool tip.
  QString refusal;
  if (HasHorn(source_) && !vortalis::report::IsRectangular(*source_.horn)) {
    try {
      vortalis::buildkit::WallPanels(*source_.horn, {}, source_.separators);
    } catch (const std::exception& error) {
      refusal = QString::fromUtf8(error.what());
    }
  }
  Exportpanels1->setEnabled(HasHorn(source_) && refusal.isEmpty());
  Exportpanels1->setToolTip(refusal);
  ReportDocumentSink document(*reportText);
  const QString error = RunReportGenerator(source_, document);
  document.Finish();
  if (!error.isEmpty()) Prompts().Error(error);
}

bool TTextForm::FormShow() {
  const QPointer<TTextForm> alive(this);
  QCoreApplication::processEvents();
  // A quit handled just now (one asked for during the calculation, say) may
  // have closed this window or the whole program already.
  return alive && waitform && !(Frame() && !Frame()->IsOpen());
}

bool TTextForm::FormCloseQuery() {
  if (!reportText->document()->isModified()) return true;
  switch (Prompts().Confirm(QStringLiteral("Save changes to %1?").arg(fileName_))) {
    case Prompt::Answer::Yes:
      Save1Click();
      // A cancelled save dialog or a failed save keeps the window open.
      return !reportText->document()->isModified();
    case Prompt::Answer::No:
      return true;
    case Prompt::Answer::Cancel:
      break;
  }
  return false;
}

void TTextForm::FormClose() {
  if (QMdiSubWindow* window = SubWindow()) window->setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_DeleteOnClose);
}

void TTextForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TTextForm::Save1Click() {
  if (fileName_ == kUntitled) {
    Saveas1Click();
    return;
  }
  WriteFile();
}

void TTextForm::Saveas1Click() {
  const QString chosen = Prompts().SaveFileName(this, fileName_);
  if (chosen.isEmpty()) return;
  fileName_ = chosen;
  setWindowTitle(QFileInfo(chosen).fileName());
  if (profile_) profile_->SetReportTitle(windowTitle());
  if (acoustic_) acoustic_->SetReportTitle(windowTitle());
  WriteFile();
}

void TTextForm::WriteFile() {
  QString failure;
  {
    const BusyCursor busy;
    try {
      SaveReportFile(*reportText->document(), fileName_);
    } catch (const vortalis::output::OutputError& error) {
      failure = QString::fromUtf8(error.what());
    }
  }
  if (!failure.isEmpty()) {
    Prompts().Error(failure);
    return;
  }
  reportText->document()->setModified(false);
}

void TTextForm::Print1Click() {
  QPrinter& printer = SharedPrinter();
  if (!Prompts().Print(this, printer)) return;
  printer.setDocName(fileName_);
  QString failure;
  {
    const BusyCursor busy;
    try {
      PrintReport(*reportText->document(), reportText->font(), printer);
    } catch (const vortalis::output::OutputError& error) {
      failure = QString::fromUtf8(error.what());
    }
  }
  if (!failure.isEmpty()) Prompts().Error(failure);
}

void TTextForm::Printersetup1Click() { Prompts().PrinterSetup(this, SharedPrinter()); }

void TTextForm::Close1Click() {
  if (QMdiSubWindow* window = SubWindow()) {
    window->close();
  } else {
    close();
  }
}

void TTextForm::Exit1Click() {
  if (Frame()) {
    Frame()->Quit();
  } else {
    Close1Click();
  }
}

TProfileForm* TTextForm::ProfileWindow() const { return profile_; }
TExportForm* TTextForm::ExportDialog() const { return export_; }
TExportForm* TTextForm::TemplateDialog() const { return template_; }
TAcousticForm* TTextForm::AcousticWindow() const { return acoustic_; }
TDriverForm* TTextForm::DriverWindow() const { return driver_; }
TBuildKitForm* TTextForm::BuildKitDialog() const { return buildKit_; }

void TTextForm::Showprofile1Click() {
  if (profile_) {
    ShowInFront(profile_);
    return;
  }
  if (!HasHorn(source_)) return;
  try {
    const BusyCursor busy;
    profile_ = new TProfileForm(source_, this);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  ShowInFront(profile_);
}

void TTextForm::Exportprofile1Click() { OpenExport(false); }

// The export dialog with the panels chosen, so a mouth limit can be given.
void TTextForm::Exportpanels1Click() {
  if (Exportpanels1->isEnabled()) OpenExport(true);
}

void TTextForm::OpenExport(bool panels) {
  if (!export_) {
    if (!HasHorn(source_)) return;
    export_ = new TExportForm(source_, fileName_, this);
  }
  if (export_->Panels) (panels ? export_->Panels : export_->Walls)->setChecked(true);
  // Window-modal: the other reports and the dialogs stay usable meanwhile.
  export_->open();
  export_->raise();
  export_->activateWindow();
}

void TTextForm::Printtemplate1Click() {
  if (!template_) {
    if (!HasHorn(source_)) return;
    template_ = new TExportForm(source_, fileName_, this, TExportForm::Purpose::Template);
  }
  // Window-modal, as the export dialog.
  template_->open();
  template_->raise();
  template_->activateWindow();
}

void TTextForm::Acousticloading1Click() {
  if (acoustic_) {
    ShowInFront(acoustic_);
    return;
  }
  if (!HasHorn(source_)) return;
  try {
    const BusyCursor busy;
    acoustic_ = new TAcousticForm(source_, this);
  } catch (const std::exception& error) {
    ShowProfileFailure(error);
    return;
  }
  ShowInFront(acoustic_);
}

void TTextForm::Driverresponse1Click() {
  if (!driver_) {
    if (!HasHorn(source_)) return;
    try {
      driver_ = new TDriverForm(source_, this);
    } catch (const std::exception& error) {
      ShowProfileFailure(error);
      return;
    }
  }
  ShowInFront(driver_);
}

void TTextForm::Buildkit1Click() {
  QWidget* window = SubWindow() ? static_cast<QWidget*>(SubWindow()) : this;
  if (!buildKit_) {
    if (!HasHorn(source_)) return;
    // Not the report's child, as the report is disabled while the dialog is
    // up; the report deletes it when it goes.
    buildKit_ = new TBuildKitForm(source_, fileName_,
                                  window->parentWidget() ? window->window() : nullptr);
    // A report of the design in use starts from the design's kit.
    if (!design_.isEmpty() && design_ == CurrentDesignName()) buildKit_->Preset(LastKitSettings());
  }
  ShowModalToReport(buildKit_, window);
}

void TTextForm::Edit1Click() {
  const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
  Paste1->setEnabled(clipboard && clipboard->hasText());
  const bool selection = reportText->textCursor().hasSelection();
  Cut1->setEnabled(selection);
  Copy1->setEnabled(selection);
}

void TTextForm::Undo1Click() { reportText->undo(); }
void TTextForm::Cut1Click() { reportText->cut(); }
void TTextForm::Copy1Click() { reportText->copy(); }

void TTextForm::Paste1Click() {
  reportText->paste();
  // Text typed next takes the editor's own look again.
  reportText->setCurrentCharFormat(QTextCharFormat());
}

void TTextForm::Selectall1Click() { reportText->selectAll(); }

}  // namespace vortalis::report_window
