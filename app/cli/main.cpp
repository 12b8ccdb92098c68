#include "app/cli/commands.h"
#include "app/core/heap.h"

int main(int argc, char** argv) {
  meridan::TuneHeapForForecasts();
  return meridan::RunCommandLine(argc, argv);
}
