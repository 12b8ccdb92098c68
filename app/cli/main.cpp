#include <malloc.h>

#include "app/cli/commands.h"

int main(int argc, char** argv) {
  // A forecast passes a few megabytes of pictures (templates, scratch
  // bitmaps, JPEG and deflate buffers) through the heap, a few hundred
  // kilobytes at a time. Growing the heap in large steps and not giving it
  // back between months saves thousands of page faults: a quarter of the
  // run's time.
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  return meridan::RunCommandLine(argc, argv);
}
