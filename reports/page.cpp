#include "reports/page.h"

#include <stdexcept>

namespace meridan {

std::filesystem::path WriteMonthPage(ForecastKind, const std::string&, int, int, int, int, int, int,
                                     int, const std::filesystem::path&,
                                     const std::filesystem::path&, const std::filesystem::path&) {
  throw std::logic_error("WriteMonthPage: not written yet");
}

}  // namespace meridan
