#include "app/cli/commands.h"

#include <iostream>

namespace meridan {

int RunCommandLine(int, char**, std::ostream&, std::ostream& err) {
  err << "meridan: not written yet\n";
  return 2;
}

int RunCommandLine(int argc, char** argv) { return RunCommandLine(argc, argv, std::cout, std::cerr); }

}  // namespace meridan
