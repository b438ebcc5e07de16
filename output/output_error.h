#pragma once

#include <stdexcept>
#include <string>

// The one error of every save, export and print: what() is a sentence for the
// user that names the file and the system's reason ("Cannot write horn.dxf: No
// space left on device"). Paths are bytes as the system has them.
namespace vortalis::output {

class OutputError : public std::runtime_error {
 public:
  enum class Stage {
    Create,  // the file could not be created or take its name
    Write,   // writing, flushing or syncing failed
    Other,   // no file involved: a refused layout, a printer that failed
  };

  // "Cannot write PATH: <the system's reason for error>".
  OutputError(Stage stage, std::string path, int error);
  // The same facts with a message of the caller's.
  OutputError(Stage stage, std::string path, int error, const std::string& message);
  explicit OutputError(const std::string& message);

  Stage stage() const { return stage_; }
  const std::string& path() const { return path_; }
  int error() const { return error_; }  // errno, 0 when none

 private:
  Stage stage_;
  std::string path_;
  int error_;
};

// The system's text for an errno value ("No space left on device").
std::string Reason(int error);

}  // namespace vortalis::output
