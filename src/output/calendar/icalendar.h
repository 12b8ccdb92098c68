#pragma once
// iCalendar (RFC 5545) for the forecast's calendar file: all-day events
// only, some with a reminder the evening before. The file is UTF-8, as the format requires; the
// texts come in as the engine's Windows-1251 and are converted here, at the edge. Lines end in CR
// LF and are folded at 75 octets, never inside a UTF-8 character; text values have backslash,
// semicolon, comma and line ends escaped.

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"

namespace meridan {

struct CalendarEvent {
  std::string uid;          // ASCII, unique and stable
  Date first;               // the first day
  Date afterLast;           // the day after the last (the end is exclusive)
  std::string summary;      // Windows-1251
  std::string description;  // Windows-1251; '\n' between lines
  // A reminder (shown, not sounded) at 18:00 local time the evening before.
  bool reminder = false;
};

// A TEXT value: \ ; , escaped, line ends as \n, other control characters
// dropped.
std::string EscapeText(std::string_view utf8);

// One content line, folded: each physical line at most 75 octets with its
// leading blank, each followed by CR LF.
std::string FoldLine(std::string_view line);

// The whole file: the calendar, its events in order, stamped (DTSTAMP, in
// UTC) with `made`.
std::string RenderCalendar(const std::vector<CalendarEvent>& events, std::time_t made);

}  // namespace meridan
