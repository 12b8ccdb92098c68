// The entry points of the digest module (meridan-digest.so), which the
// programs load by name when they first make a digest.
#include <exception>
#include <string>

#include "output/digest/digest.h"

extern "C" bool MeridanRenderDigest(const meridan::Digest& digest, std::string* pdf,
                                    std::string* error) {
  try {
    *pdf = meridan::RenderDigest(digest);
    return true;
  } catch (const std::exception& e) {
    *error = e.what();
    return false;
  }
}

extern "C" const char* MeridanDigestBuild() { return meridan::kDigestBuild; }
