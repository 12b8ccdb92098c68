#include "output/calendar/icalendar.h"

#include <cstdio>

#include "base/cp1251.h"

namespace meridan {
namespace {

constexpr size_t kLineOctets = 75;

std::string DateValue(const Date& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
  return text;
}

std::string UtcStamp(std::time_t made) {
  std::tm utc{};
  gmtime_r(&made, &utc);
  char text[80];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string EscapeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      if (i + 1 >= utf8.size() || utf8[i + 1] != '\n') out += "\\n";  // CR LF is one line end
    } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
      out += c;
    } else if (c == '\t') {
      out += ' ';
    }
  }
  return out;
}

std::string FoldLine(std::string_view line) {
  std::string out;
  size_t room = kLineOctets;
  while (line.size() > room) {
    // Back off to the start of the character the limit falls in.
    size_t cut = room;
    while (cut > 0 && IsContinuationByte(line[cut])) --cut;
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    room = kLineOctets - 1;  // the blank that opens a continuation counts
  }
  out.append(line);
  out += "\r\n";
  return out;
}

std::string RenderCalendar(const std::vector<CalendarEvent>& events, std::time_t made) {
  const std::string stamp = UtcStamp(made);
  std::string out;
  const auto line = [&out](std::string_view text) { out += FoldLine(text); };
  const auto text = [&line](std::string_view name, std::string_view cp1251) {
    line(std::string(name) + ":" + EscapeText(Cp1251ToUtf8(cp1251)));
  };
  line("BEGIN:VCALENDAR");
  line("VERSION:2.0");
  line("PRODID:-//Meridan Diru//Meridan Diru//RU");
  line("CALSCALE:GREGORIAN");
  line("METHOD:PUBLISH");
  for (const CalendarEvent& event : events) {
    line("BEGIN:VEVENT");
    line("UID:" + event.uid);
    line("DTSTAMP:" + stamp);
    line("DTSTART;VALUE=DATE:" + DateValue(event.first));
    line("DTEND;VALUE=DATE:" + DateValue(event.afterLast));
    text("SUMMARY", event.summary);
    text("DESCRIPTION", event.description);
    line("TRANSP:TRANSPARENT");
    if (event.reminder) {
      // An all-day event starts at midnight of the calendar's own time
      // zone, so six hours before it is 18:00 the evening before wherever
      // the calendar is read.
      line("BEGIN:VALARM");
      line("ACTION:DISPLAY");
      line("TRIGGER:-PT6H");
      text("DESCRIPTION", event.summary);
      line("END:VALARM");
    }
    line("END:VEVENT");
  }
  line("END:VCALENDAR");
  return out;
}

}  // namespace meridan
