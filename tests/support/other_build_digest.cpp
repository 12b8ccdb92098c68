// A digest module as another build of the program would have it: its
// entry points are there, its fingerprint is not this build's.
#include <string>

extern "C" const char* MeridanDigestBuild() { return "another build"; }
extern "C" bool MeridanRenderDigest(const void*, std::string* pdf, std::string*) {
  *pdf = "%PDF- from a module that must not have been asked";
  return true;
}
