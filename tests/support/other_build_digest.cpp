// A digest module as another build of the program would have it: its
// entry points are there, its fingerprint is not this build's.
#include <cstddef>

extern "C" const char* MeridanDigestBuild() { return "another build"; }
extern "C" int MeridanRenderDigest(const void*, int (*sink)(void*, const char*, size_t),
                                   void* context, char*, size_t) {
  const char pdf[] = "%PDF- from a module that must not have been asked";
  return sink(context, pdf, sizeof pdf - 1);
}
