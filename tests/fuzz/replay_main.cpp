// Replays the fuzz targets' seed corpora as ordinary tests: each file of the
// corpus directories given is passed once to LLVMFuzzerTestOneInput, which
// aborts on a broken invariant as it would under the fuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      const std::string bytes = meridan::ReadFile(entry.path());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 1;
}
