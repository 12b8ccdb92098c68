#include "output/digest/digest_text.h"

#include <algorithm>
#include <map>
#include <optional>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "base/month_names.h"
#include "ephemeris/calendar.h"
#include "texts/influence_texts.h"
#include "texts/interpretation.h"

namespace meridan {
namespace {

// The named references that the texts, help files and names can carry.
const std::map<std::string_view, char32_t>& NamedReferences() {
  static const std::map<std::string_view, char32_t> kNames = {
      {"amp", U'&'},       {"lt", U'<'},       {"gt", U'>'},    {"quot", U'"'},  {"apos", U'\''},
      {"nbsp", U'\u00A0'}, {"mdash", U'—'},    {"ndash", U'–'}, {"laquo", U'«'}, {"raquo", U'»'},
      {"bdquo", U'„'},     {"ldquo", U'“'},    {"rdquo", U'”'}, {"lsquo", U'‘'}, {"rsquo", U'’'},
      {"hellip", U'…'},    {"middot", U'·'},   {"deg", U'°'},   {"copy", U'©'},  {"minus", U'−'},
      {"times", U'×'},     {"shy", U'\u00AD'},
  };
  return kNames;
}

// The character of a reference "&...;" at text[i]; advances i past it.
std::optional<char32_t> DecodeReference(std::string_view text, size_t& i) {
  const size_t end = text.find(';', i);
  if (end == std::string_view::npos || end - i > 10) return std::nullopt;
  const std::string_view body = text.substr(i + 1, end - i - 1);
  char32_t cp = 0;
  if (body.size() >= 2 && body[0] == '#') {
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    for (const char c : digits) {
      int digit;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (hex && c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      else
        return std::nullopt;
      cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(digit);
      if (cp > 0x10FFFF) return std::nullopt;
    }
    // What a browser shows for a reference to no character.
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) cp = U'\uFFFD';
  } else {
    const auto found = NamedReferences().find(body);
    if (found == NamedReferences().end()) return std::nullopt;
    cp = found->second;
  }
  i = end + 1;
  return cp;
}

bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string MonthGenitive(YearMonth month) { return Cp1251ToUtf8(MonthNameGenitive(month.month)); }

constexpr std::string_view kDash = "–";  // en dash

bool Consecutive(const ForecastDays& days, size_t earlier) {
  return days.months[earlier].Plus(1) == days.months[earlier + 1];
}

}  // namespace

std::string DayText(YearMonth month, int day) {
  return Cp1251ToUtf8(DayAndMonth(day, month.month));
}

std::string HtmlToText(std::string_view html) {
  std::string out;
  bool space = false;  // a blank is due before the next character
  auto put = [&](std::string_view piece) {
    if (space && !out.empty()) out += ' ';
    space = false;
    out += piece;
  };
  for (size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (c == '<') {
      const size_t end = html.find('>', i);
      if (end == std::string_view::npos) {
        put(html.substr(i));
        break;
      }
      i = end + 1;
    } else if (c == '&') {
      if (const auto cp = DecodeReference(html, i)) {
        std::string character;
        AppendUtf8(character, *cp);
        if (*cp != U'\u00AD') put(character);
      } else {
        put("&");
        ++i;
      }
    } else if (IsHtmlSpace(c)) {
      space = true;
      ++i;
    } else {
      put(html.substr(i, 1));
      ++i;
    }
  }
  return out;
}

std::string HitText(const TransitHit& hit) {
  std::string out;
  bool space = false;  // a blank is due before the next character
  for (const char c : Cp1251ToUtf8(hit.text)) {
    if (IsHtmlSpace(c)) {
      space = true;
      continue;
    }
    if (space && !out.empty()) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

std::string DayRunsText(std::span<const DayRun> runs) {
  std::string out;
  for (size_t i = 0; i < runs.size(); ++i) {
    const DayRun& run = runs[i];
    if (!out.empty()) out += ", ";
    if (run.fromMonth != run.toMonth) {
      out += DayText(run.fromMonth, run.fromDay) + ' ' + std::string(kDash) + ' ' +
             DayText(run.toMonth, run.toDay);
      continue;
    }
    out += std::to_string(run.fromDay);
    if (run.toDay != run.fromDay) out += std::string(kDash) + std::to_string(run.toDay);
    const bool nextInSameMonth = i + 1 < runs.size() && runs[i + 1].fromMonth == run.fromMonth &&
                                 runs[i + 1].toMonth == run.fromMonth;
    if (!nextInSameMonth) out += ' ' + MonthGenitive(run.fromMonth);
  }
  return out;
}

std::vector<DayRun> MonthRuns(const ForecastDays& days, size_t k,
                              const std::function<bool(size_t, int)>& holds) {
  std::vector<DayRun> runs;
  const int length = days.lengths[k];
  for (int d = 1; d <= length; ++d) {
    if (!holds(k, d)) continue;
    size_t fromIndex = k;
    int fromDay = d;
    // Back into the months before, day by day, while it holds.
    while (fromDay == 1 && fromIndex > 0 && Consecutive(days, fromIndex - 1) &&
           holds(fromIndex - 1, days.lengths[fromIndex - 1])) {
      --fromIndex;
      fromDay = days.lengths[fromIndex];
      while (fromDay > 1 && holds(fromIndex, fromDay - 1)) --fromDay;
    }
    int end = d;
    while (end < length && holds(k, end + 1)) ++end;
    d = end;
    size_t toIndex = k;
    int toDay = end;
    while (toDay == days.lengths[toIndex] && toIndex + 1 < days.months.size() &&
           Consecutive(days, toIndex) && holds(toIndex + 1, 1)) {
      ++toIndex;
      toDay = 1;
      while (toDay < days.lengths[toIndex] && holds(toIndex, toDay + 1)) ++toDay;
    }
    runs.push_back({days.months[fromIndex], fromDay, days.months[toIndex], toDay});
  }
  return runs;
}

std::vector<DigestEntry> MonthEntries(std::span<const MonthScan* const> scans, size_t k) {
  ForecastDays days;
  for (const MonthScan* scan : scans) {
    days.months.push_back(scan->month);
    days.lengths.push_back(scan->length);
  }
  // Hits with the same rating and text are one text, as on the pages.
  const auto same = [](const TransitHit& a, const TransitHit& b) {
    return a.rating == b.rating && a.text == b.text;
  };
  auto holdsText = [&](const TransitHit& first) {
    return [&scans, &first, &same](size_t month, int day) {
      const MonthScan& scan = *scans[month];
      if (day < 1 || static_cast<size_t>(day) > scan.days.size()) return false;
      for (const TransitHit& hit : scan.days[static_cast<size_t>(day - 1)].hits)
        if (hit.accepted && same(hit, first)) return true;
      return false;
    };
  };

  std::vector<DigestEntry> entries;
  std::vector<const TransitHit*> firsts;  // the first hit of each entry
  for (const DayList& day : scans[k]->days)
    for (const TransitHit& hit : day.hits) {
      if (!hit.accepted) continue;
      bool seen = false;
      for (const TransitHit* first : firsts) seen = seen || same(*first, hit);
      if (seen) continue;
      firsts.push_back(&hit);
      entries.push_back({HitText(hit), hit.rating, {}, hit.key});
    }
  for (size_t i = 0; i < entries.size(); ++i)
    entries[i].runs = MonthRuns(days, k, holdsText(*firsts[i]));
  return entries;
}

namespace {

// The influence of an entry whose window holds the run's first day.
const Influence* WindowOf(const DigestEntry& entry, const DayRun& run,
                          std::span<const Influence> influences) {
  const Date from{run.fromDay, run.fromMonth.month, run.fromMonth.year};
  for (const Influence& influence : influences)
    if (influence.key == entry.key && DateOf(influence.firstNoon) <= from &&
        from <= DateOf(influence.lastNoon))
      return &influence;
  return nullptr;
}

YearMonth MonthOf(Date date) { return {date.year, date.month}; }

}  // namespace

std::string WindowsText(const DigestEntry& entry, std::span<const DayRun> runs,
                        std::span<const Influence> influences, const ReaderClock& clock) {
  std::string out;
  for (const DayRun& run : runs) {
    if (!out.empty()) out += "; ";
    const Influence* influence = WindowOf(entry, run, influences);
    if (!influence) {
      out += DayRunsText(std::span(&run, 1));
      continue;
    }
    const Date first = DateOf(influence->firstNoon), last = DateOf(influence->lastNoon);
    const DayRun window{MonthOf(first), first.day, MonthOf(last), last.day};
    out += DayRunsText(std::span(&window, 1));
    if (!influence->exact.empty()) out += ", " + ExactText(*influence, clock);
  }
  return out;
}

std::string HourNoteText(const DigestEntry& entry, std::span<const DayRun> runs,
                         std::span<const Influence> influences) {
  std::string note;
  for (const DayRun& run : runs)
    if (const Influence* influence = WindowOf(entry, run, influences)) {
      const std::string said = UnknownHourNote(*influence);
      // That it may not come at all says more than that it may move.
      if (note.empty() || (!influence->hourWindows->sure && !said.empty())) note = said;
    }
  return Cp1251ToUtf8(note);
}

std::string ExactText(const Influence& influence, const ReaderClock& clock) {
  // Each moment on the reader's clock, the day named once for moments that
  // share it, the clock once where the moments share its name.
  std::vector<ClockReading> readings;
  for (const double moment : influence.exact) readings.push_back(ReadClock(clock, moment));
  std::vector<std::string> zones;
  for (const ClockReading& reading : readings)
    zones.push_back(Cp1251ToUtf8(ClockZone(clock, reading)));
  const bool oneZone = std::all_of(zones.begin(), zones.end(),
                                   [&zones](const std::string& zone) { return zone == zones[0]; });
  std::string out;
  for (size_t i = 0; i < readings.size(); ++i) {
    const ClockReading& reading = readings[i];
    out += i == 0 ? "точно " : i + 1 == readings.size() ? " и " : ", ";
    if (i == 0 || reading.date != readings[i - 1].date)
      out += DayText(MonthOf(reading.date), reading.date.day) + ' ';
    out += Cp1251ToUtf8(ClockHour(reading));
    if (!oneZone || i + 1 == readings.size()) out += ' ' + zones[i];
  }
  return out;
}

std::string MomentText(double julianDay, const ReaderClock& clock) {
  const ClockReading reading = ReadClock(clock, julianDay);
  return DayText(MonthOf(reading.date), reading.date.day) + ' ' +
         Cp1251ToUtf8(ClockText(clock, reading));
}

std::string WindowEndText(const DigestEntry& entry, const DayRun& run,
                          std::span<const Influence> influences) {
  if (const Influence* influence = WindowOf(entry, run, influences)) {
    const Date last = DateOf(influence->lastNoon);
    return DayText(MonthOf(last), last.day);
  }
  return DayText(run.toMonth, run.toDay);
}

MonthTexts SplitMonthTexts(std::vector<DigestEntry> entries, YearMonth month,
                           std::span<const Influence> influences) {
  MonthTexts texts;
  for (DigestEntry& entry : entries) {
    if (!entry.runs.empty() && entry.runs.front().fromMonth < month) {
      DigestEntry continuing = entry;
      continuing.runs = {entry.runs.front()};
      texts.continuing.push_back(std::move(continuing));
      entry.runs.erase(entry.runs.begin());
    }
    if (!entry.runs.empty()) texts.beginning.push_back(std::move(entry));
  }
  const auto start = [&](const DigestEntry& entry) {
    const DayRun& run = entry.runs.front();
    if (const Influence* influence = WindowOf(entry, run, influences))
      return DateOf(influence->firstNoon);
    return Date{run.fromDay, run.fromMonth.month, run.fromMonth.year};
  };
  std::stable_sort(texts.beginning.begin(), texts.beginning.end(),
                   [&](const DigestEntry& a, const DigestEntry& b) { return start(a) < start(b); });
  return texts;
}

}  // namespace meridan
