#include "support/scratch_program_dir.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace meridan::testing {
namespace {

// The programs find the PDF digest module beside them; a test program runs
// elsewhere, so it is pointed at the one the build staged.
const bool kDigestModuleNamed = [] {
  ::setenv("MERIDAN_DIGEST_MODULE", MERIDAN_STAGE_DIR "/meridan-digest.so", 0);
  return true;
}();

}  // namespace

ScratchProgramDir::ScratchProgramDir(bool withData) {
  static std::atomic<int> counter{0};
  root_ = fs::temp_directory_path() /
          ("meridan-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(root_);
  fs::create_directories(root_);
  if (withData) {
    fs::copy(fs::path(MERIDAN_DATA_DIR) / "System", system(), fs::copy_options::recursive);
    fs::copy(fs::path(MERIDAN_DATA_DIR) / "Output", output(), fs::copy_options::recursive);
  } else {
    fs::create_directories(system());
    fs::create_directories(output());
  }
}

ScratchProgramDir::~ScratchProgramDir() {
  std::error_code ignored;
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (const auto& sub : {system(), output()})
    fs::permissions(sub, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root_, ignored);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string CompareWithGolden(const std::string& name, const std::string& actual) {
  const fs::path golden = fs::path(MERIDAN_GOLDEN_DIR) / name;
  const char* update = std::getenv("MERIDAN_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    fs::create_directories(golden.parent_path());
    WriteFile(golden, actual);
    return {};
  }
  if (!fs::exists(golden))
    return "golden file " + golden.string() +
           " is missing (run with MERIDAN_UPDATE_GOLDEN=1 to create it)";
  const std::string expected = ReadFile(golden);
  if (expected == actual) return {};
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  size_t line = 1 + static_cast<size_t>(std::count(expected.begin(),
                                                   expected.begin() + static_cast<long>(at), '\n'));
  std::ostringstream msg;
  msg << name << " differs from " << golden.string() << " at byte " << at << " (line " << line
      << "); expected " << expected.size() << " bytes, got " << actual.size()
      << ". Regenerate with MERIDAN_UPDATE_GOLDEN=1 after a deliberate change.\n"
      << "expected: ..." << expected.substr(at > 40 ? at - 40 : 0, 120) << "\n"
      << "actual:   ..." << actual.substr(at > 40 ? at - 40 : 0, 120);
  return msg.str();
}

}  // namespace meridan::testing
