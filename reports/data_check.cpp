#include "reports/data_check.h"

#include <ostream>

namespace meridan {

bool CheckInterpretationData(const std::filesystem::path&, std::ostream& out) {
  out << "check-data: not written yet\n";
  return false;
}

}  // namespace meridan
