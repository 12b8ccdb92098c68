#pragma once
// An archive entry keeps only the MS-DOS date and time: local wall-clock time
// in whole even seconds. Whether an entry is up to date is decided in that
// form, so that a file's odd second or the zone's summer time never makes an
// entry look older than the file it was packed from.

#include <cstdint>
#include <ctime>

namespace meridan {

// The DOS date in the high 16 bits and the DOS time in the low 16 bits, so that
// a later time never gives a smaller value: local time, seconds halved, years
// before 1980 (which the DOS date cannot hold) moved to 1980.
std::uint32_t DosDateTime(std::time_t time);

}  // namespace meridan
