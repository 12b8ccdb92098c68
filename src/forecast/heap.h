#pragma once

namespace meridan {

// A forecast passes a few megabytes of pictures (templates, scratch bitmaps,
// JPEG and deflate buffers) through the heap, a few hundred kilobytes at a
// time. Growing the heap in large steps and keeping it between months saves
// thousands of page faults, a quarter of a forecast's time. Both programs
// call this first thing in main.
void TuneHeapForForecasts();

}  // namespace meridan
