#pragma once
// A data file the program reads that is there and readable but damaged: an
// interpretation file, the Pluto table, a picture, the list of places, the
// calendar key. The command line prints what() as it stands; a window reads
// the file, the line and how to mend it, and says it in its own words.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace meridan {

class DataFileError : public std::runtime_error {
 public:
  // How a sound file is had again.
  enum class Remedy {
    kReinstall,  // it comes with the program: from the installed copy
    kRemove,     // the program makes it: removed, it is made anew
  };
  // report: the one-line message, naming the file (see AtLine). line: 0
  // when the damage is not on one line. field: the header field (UTF-8)
  // that is not a number, for a window to quote.
  DataFileError(std::filesystem::path file, int line, const std::string& report,
                Remedy remedy = Remedy::kReinstall, std::string field = {})
      : std::runtime_error(report),
        file_(std::move(file)),
        line_(line),
        remedy_(remedy),
        field_(std::move(field)) {}
  const std::filesystem::path& file() const { return file_; }
  int line() const { return line_; }
  Remedy remedy() const { return remedy_; }
  const std::string& field() const { return field_; }

 private:
  std::filesystem::path file_;
  int line_;
  Remedy remedy_;
  std::string field_;
};

// "<file>:<line>: <problem>", or "<file>: <problem>" for line 0: the report
// of most damaged data files.
inline std::string AtLine(const std::filesystem::path& file, int line, const std::string& problem) {
  return file.string() + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + problem;
}

}  // namespace meridan
