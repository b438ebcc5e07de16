#pragma once

#include <QString>
#include <functional>
#include <string>

class QPagedPaintDevice;
class QPainter;
class QWidget;

// What the plot windows (profile, acoustic loading, driver) do alike with
// what they show: export it as CSV, print it on one page.
namespace vortalis::report_window {

// The file name `suffix` beside `report`'s file ("horn.txt" gives
// "horn-impedance.csv"), or "horn" + suffix while the report is unsaved.
QString FileBesideReport(const QWidget* report, const QString& suffix);

// Asks `window`'s user for a CSV file, offering `preset`, and writes `text`
// there through the one writer; a failure is shown in a box.
void ExportCsvText(QWidget* window, const QString& preset, const std::string& text);

// Prints one page painted by `paint` on the shared printer after its dialog,
// named by `window`'s title; a failure is shown in a box.
void PrintPlotPage(QWidget* window,
                   const std::function<void(QPainter&, const QPagedPaintDevice&)>& paint);

}  // namespace vortalis::report_window
