#include "forecast/calendar_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <sys/random.h>

#include "base/data_file_error.h"
#include "base/files.h"
#include "base/program_dir.h"
#include "forecast/lock.h"
#include "output/calendar/forecast_events.h"
#include "texts/reader_clock.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

std::optional<SipKey> ParseKey(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  SipKey key{};
  if (text.size() != 2 * key.size()) return std::nullopt;
  for (size_t i = 0; i < key.size(); ++i) {
    unsigned value = 0;
    for (const char c : text.substr(2 * i, 2)) {
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    key[i] = static_cast<std::uint8_t>(value);
  }
  return key;
}

SipKey ReadKey(const fs::path& file) {
  const auto key = ParseKey(ReadFile(file, false));
  if (!key)
    throw DataFileError(file, 0,
                        "the calendar key " + file.string() +
                            " is not 32 hexadecimal digits (remove it to make a new one; the "
                            "events of earlier calendar files will then be added anew)",
                        DataFileError::Remedy::kRemove);
  return *key;
}

}  // namespace

SipKey CalendarKey(const fs::path& programDir, const std::function<void()>& onWait) {
  const fs::path file = ProgramDir{programDir}.calendarKey();
  std::error_code ec;
  if (fs::exists(fs::symlink_status(file, ec))) return ReadKey(file);
  // Two exports at once must not make two keys: the second finds the first's.
  const ProgramDirLock lock = ProgramDirLock::Acquire(programDir, onWait);
  if (fs::exists(fs::symlink_status(file, ec))) return ReadKey(file);
  SipKey key{};
  if (::getrandom(key.data(), key.size(), 0) != static_cast<ssize_t>(key.size()))
    throw std::runtime_error("no random bytes for the calendar key: " +
                             std::string(std::strerror(errno)));
  std::string text;
  for (const std::uint8_t byte : key) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    text += hex;
  }
  WriteFileAtomically(file, text + "\n");
  return key;
}

std::string RenderForecastCalendar(const ForecastRequest& request, const ForecastFindings& findings,
                                   const fs::path& programDir, std::time_t made,
                                   const std::function<void()>& onWait) {
  const SipKey key = CalendarKey(programDir, onWait);
  std::vector<CalendarEvent> events =
      BestWindowEvents(request.kind, request.birth, findings.best, key);
  for (CalendarEvent& event : ForecastEvents(request.kind, request.birth, findings.influences,
                                             findings.stations, SystemClock(), key))
    events.push_back(std::move(event));
  return RenderCalendar(events, made);
}

void WriteForecastCalendar(const ForecastRequest& request, const ForecastFindings& findings,
                           const fs::path& programDir, const fs::path& file, std::time_t made,
                           const std::function<void()>& onWait) {
  WriteNamedFile(file, RenderForecastCalendar(request, findings, programDir, made, onWait));
}

}  // namespace meridan
