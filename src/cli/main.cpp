#include <csignal>

#include "cli/commands.h"
#include "forecast/heap.h"

int main(int argc, char** argv) {
  // A reader that goes away (meridan forecast ... | head -1) must not kill a
  // run halfway: the write fails instead, and the run finishes and says so.
  std::signal(SIGPIPE, SIG_IGN);
  meridan::TuneHeapForForecasts();
  return meridan::RunCommandLine(argc, argv);
}
