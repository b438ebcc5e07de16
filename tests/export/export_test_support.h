#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/report_tool.h"
#include "report/horn_profile.h"
#include "report/report_input.h"
#include "report_test_support.h"

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

// vortalis-report run in this process, with its standard output and error.
struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

inline std::string ReadAll(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  std::fclose(file);
  return text;
}

inline ToolRun RunTool(const std::vector<std::string>& args) {
  volatile std::sig_atomic_t interrupted = 0;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  FixedStamp stamp;
  cli::ToolEnvironment env{out, err, false, &interrupted, nullptr, stamp};
  const std::vector<std::string_view> views(args.begin(), args.end());
  const int status = cli::RunReportTool(views, env);
  return {status, ReadAll(out), ReadAll(err)};
}

}  // namespace vortalis::testing
