#include "cli/program_dir_option.h"

#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "forecast/installation.h"

namespace fs = std::filesystem;

namespace meridan {

void ChooseProgramDir(Options& options, std::ostream& err) {
  if (options.Get("--dir")) return;
  std::error_code ec;
  if (fs::is_directory(ProgramDir{"."}.data(), ec)) return;
  UserProgramDir user;
  try {
    user = SetUpUserProgramDir();
  } catch (const std::runtime_error& e) {
    options.noProgramDir =
        "the current directory is no program directory (it has no System/), "
        "and your own could not be set up: " +
        std::string(e.what()) + "; give --dir PROGRAM_DIR";
    return;
  }
  err << "meridan: working in your program directory " << Printable(user.root.string())
      << " (the current directory has no System/)" << std::endl;
  if (!user.keptFiles.empty()) {
    err << "meridan: kept your changed ";
    for (size_t i = 0; i < user.keptFiles.size(); ++i)
      err << (i ? ", " : "") << Printable(user.keptFiles[i]);
    err << "; the new versions are beside them as .new files" << std::endl;
  }
  options.values["--dir"] = user.root.string();
}

ProgramDir ProgramDirOf(const Options& options) {
  if (!options.noProgramDir.empty()) throw std::runtime_error(options.noProgramDir);
  return {options.Get("--dir").value_or(".")};
}

}  // namespace meridan
