// The entry points of the digest module (meridan-digest.so), which the
// programs find by name (output/digest/digest_module.h). Nothing of C++
// leaves them: the digest is rebuilt here from the caller's C data, and an
// exception becomes the error text.
#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "output/digest/digest_boundary.h"
#include "output/digest/digest_build.h"

namespace {

// Puts the reason into the caller's buffer, cut where a character begins.
void Say(const char* why, char* error, size_t errorSize) {
  if (!error || errorSize == 0) return;
  size_t size = std::min(std::strlen(why), errorSize - 1);
  while (size > 0 && (static_cast<unsigned char>(why[size]) & 0xC0) == 0x80) --size;
  std::memcpy(error, why, size);
  error[size] = '\0';
}

}  // namespace

extern "C" int MeridanRenderDigest(const MeridanDigest* digest, MeridanPdfSink sink, void* context,
                                   char* error, size_t errorSize) {
  try {
    if (!digest || !sink) throw std::invalid_argument("no digest or no sink for its PDF");
    const meridan::ReceivedDigest received(*digest);
    const std::string pdf = meridan::RenderDigest(received.get());
    if (!sink(context, pdf.data(), pdf.size()))
      throw std::runtime_error("the program did not take the PDF");
    return 1;
  } catch (const std::exception& e) {
    Say(e.what(), error, errorSize);
  } catch (...) {
    Say("an unknown failure", error, errorSize);
  }
  return 0;
}

extern "C" const char* MeridanDigestBuild() { return meridan::kDigestBuild; }
