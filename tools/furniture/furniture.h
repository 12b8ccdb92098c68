#pragma once
// Writes the picture files that ship with the program into a data directory
// laid out as the program directory: System/month.bmp, System/diru2.bmp,
// Output/b_button.jpg and the ten bar images Output/b_blu1.gif ..
// Output/b_red5.gif.

#include <filesystem>
#include <string>
#include <vector>

namespace meridan::furniture {

inline constexpr int kButtonJpegQuality = 92;

// Creates System/ and Output/ under `dataDir` when missing. Returns the files
// written, in the order written. File errors name the file.
std::vector<std::filesystem::path> WriteFurniture(const std::filesystem::path& dataDir);

// "b_blu3.gif", "b_red5.gif": the names the pages use.
std::string BarFileName(bool favourable, int strength);

}  // namespace meridan::furniture
