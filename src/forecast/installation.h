#pragma once
// Where the program's own files are. In the program directory the build
// stages, everything lies beside the programs; once installed, the data
// that ships lies in share/meridan-diru and the programs' private files
// (the digest module, the setup script) in the private library directory,
// both by the absolute paths the build was configured with, never found
// from where the program happens to lie (a program under /tmp would
// otherwise run whatever stood in /tmp/lib).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace meridan {

// A private file of the program's: beside the program when it is there,
// else in the private library directory.
std::filesystem::path PrivateProgramFile(std::string_view name);

// The user's own program directory, ${XDG_DATA_HOME:-~/.local/share}/
// meridan-diru, as the setup script left it.
struct UserProgramDir {
  std::filesystem::path root;
  // Files the user had changed and the installation holds newer: kept,
  // with the new one beside each as NAME.new (relative to root).
  std::vector<std::string> keptFiles;
};

// Sets up the user's program directory, or brings it up to date, from the
// installed data, with the script the desktop launcher runs (each program
// so starts in the same directory, kept the same way). Throws
// std::runtime_error with the script's own words when it cannot.
UserProgramDir SetUpUserProgramDir();

}  // namespace meridan
