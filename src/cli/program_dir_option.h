#pragma once
// The program directory a command works in: --dir when it is given; else
// the current directory when it is a program directory (it holds System/);
// else the user's own program directory, the one the desktop launcher
// keeps, set up or brought up to date by the same script. A package
// installed for all users so runs as it is from any directory.

#include <iosfwd>

#include "base/program_dir.h"
#include "cli/arguments.h"

namespace meridan {

// Settles the directory once, before the command runs, and puts it in
// --dir for the command to find. The user's directory is named on err's
// first line, with any files the setup kept in the user's version. When it
// cannot be set up, the command still checks its arguments first, and
// fails when it comes to read the directory.
void ChooseProgramDir(Options& options, std::ostream& err);

// The directory in --dir, or the current directory; throws
// std::runtime_error when none could be chosen.
ProgramDir ProgramDirOf(const Options& options);

}  // namespace meridan
