#include "forecast/heap.h"

#include <malloc.h>

namespace meridan {

void TuneHeapForForecasts() {
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

}  // namespace meridan
