#pragma once
// The checker of the interpretation files (meridan check-data).

#include <filesystem>
#include <iosfwd>

namespace meridan {

// Checks go.dat, servis.dat and sale.dat in dataDir and writes a report to
// out. Returns true when all is well.
bool CheckInterpretationData(const std::filesystem::path& dataDir, std::ostream& out);

}  // namespace meridan
