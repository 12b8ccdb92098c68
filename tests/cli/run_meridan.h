#pragma once
// Runs the command line in-process, as a shell would start meridan, and
// keeps what it printed on each stream.

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace meridan::testing {

struct Result {
  int status;
  std::string out;
  std::string err;
};

inline Result RunMeridan(std::vector<std::string> args) {
  args.insert(args.begin(), "meridan");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::ostringstream out, err;
  const int status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

}  // namespace meridan::testing
