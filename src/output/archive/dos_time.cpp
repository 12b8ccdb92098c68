#include "output/archive/dos_time.h"

namespace meridan {

std::uint32_t DosDateTime(std::time_t time) {
  std::tm local{};
  if (!localtime_r(&time, &local))
    return std::uint32_t{(1 << 5) | 1} << 16;  // 1980-01-01 00:00, the earliest DOS time
  if (local.tm_year < 80) local.tm_year = 80;
  const auto date = static_cast<std::uint16_t>(((local.tm_year - 80) << 9) +
                                               ((local.tm_mon + 1) << 5) + local.tm_mday);
  const auto clock =
      static_cast<std::uint16_t>((local.tm_hour << 11) + (local.tm_min << 5) + (local.tm_sec >> 1));
  return std::uint32_t{date} << 16 | clock;
}

}  // namespace meridan
