#pragma once
// A throw-away program directory for tests: System/ and Output/ copied from
// the project's data, removed again when the object goes. Named apart from
// meridan::ProgramDir, the program's view of a directory, which tests also
// build over one of these.
#include <filesystem>
#include <string>

namespace meridan::testing {

class ScratchProgramDir {
 public:
  // Copies data/System and data/Output unless told to start empty.
  explicit ScratchProgramDir(bool withData = true);
  ~ScratchProgramDir();
  ScratchProgramDir(const ScratchProgramDir&) = delete;
  ScratchProgramDir& operator=(const ScratchProgramDir&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path system() const { return root_ / "System"; }
  std::filesystem::path output() const { return root_ / "Output"; }

 private:
  std::filesystem::path root_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// Compares bytes with tests/golden/<name>; with MERIDAN_UPDATE_GOLDEN=1 in the
// environment it rewrites the golden file instead. Returns a description of
// the first difference, or an empty string.
std::string CompareWithGolden(const std::string& name, const std::string& actual);

}  // namespace meridan::testing
