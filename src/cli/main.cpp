#include <csignal>

#include "base/startup.h"
#include "cli/commands.h"
#include "forecast/heap.h"

int main(int argc, char** argv) {
  // Before anything is opened: a descriptor 0-2 left closed by the caller
  // would otherwise be the lock file, and the output would go into it.
  meridan::OpenClosedStandardDescriptors();
  meridan::RemoveTemporaryFilesOnSignals();
  // A reader that goes away (meridan forecast ... | head -1) must not kill a
  // run halfway: the write fails instead, and the run finishes and says so.
  std::signal(SIGPIPE, SIG_IGN);
  // Nor a file size limit (ulimit -f): the write that passes it fails with
  // "File too large" and is reported as any other failed write.
  std::signal(SIGXFSZ, SIG_IGN);
  meridan::TuneHeapForForecasts();
  return meridan::RunCommandLine(argc, argv);
}
