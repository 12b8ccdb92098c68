#pragma once
// The command-line program: meridan <command> [options].

#include <iosfwd>

namespace meridan {

// Runs one command; returns the exit status (0 success, 1 runtime error,
// 2 wrong arguments). Writes results to out and messages to err.
int RunCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunCommandLine(int argc, char** argv);

}  // namespace meridan
