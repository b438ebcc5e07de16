#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "report/horn_profile.h"
#include "report/report_input.h"

// Horns and helpers shared by the export tests.
namespace vortalis::testing {

inline report::CircularReportInput CircularHorn(const char* fc, const char* throat,
                                                geometry::LengthUnit unit) {
  report::CircularReportInput input;
  input.frequencyText = fc;
  input.throatText = throat;
  input.unit = unit;
  return input;
}

inline report::RectangularReportInput FlatRectangularHorn(geometry::LengthUnit unit) {
  report::RectangularReportInput input;
  input.unit = unit;
  input.flatSides = true;
  input.frequencyText = "100";
  input.side1Text = unit == geometry::LengthUnit::Millimetre ? "40" : "1.6";
  input.side2Text = unit == geometry::LengthUnit::Millimetre ? "60" : "2.4";
  input.mouthText = unit == geometry::LengthUnit::Millimetre ? "400" : "16";
  input.location = geometry::MouthLocation::OneWall;
  return input;
}

struct ProcessResult {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

// Runs a program of the system (an independent reader of our files).
inline ProcessResult RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  ProcessResult result;
  if (!process.waitForFinished(60000)) {
    result.err = "did not finish: " + process.errorString().toUtf8();
    return result;
  }
  result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = process.readAllStandardOutput();
  result.err = process.readAllStandardError();
  return result;
}

}  // namespace vortalis::testing
