#include "texts/reader_clock.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "ephemeris/calendar.h"
#include "ephemeris/time_zone.h"

namespace meridan {
namespace {

// 1970 January 1, 0:00 UT, the C library's epoch.
constexpr double kUnixEpochJulianDay = 25567.5;

// The zones whose clocks Russian readers name by their town: Russia's own
// and those of the former Soviet republics' capitals. "по Москве".
constexpr struct {
  std::string_view zone;
  const char* words;
} kZoneWords[] = {
    {"Europe/Kaliningrad", "по Калининграду"},
    {"Europe/Moscow", "по Москве"},
    {"Europe/Simferopol", "по Симферополю"},
    {"Europe/Volgograd", "по Волгограду"},
    {"Europe/Kirov", "по Кирову"},
    {"Europe/Astrakhan", "по Астрахани"},
    {"Europe/Saratov", "по Саратову"},
    {"Europe/Ulyanovsk", "по Ульяновску"},
    {"Europe/Samara", "по Самаре"},
    {"Asia/Yekaterinburg", "по Екатеринбургу"},
    {"Asia/Omsk", "по Омску"},
    {"Asia/Novosibirsk", "по Новосибирску"},
    {"Asia/Barnaul", "по Барнаулу"},
    {"Asia/Tomsk", "по Томску"},
    {"Asia/Novokuznetsk", "по Новокузнецку"},
    {"Asia/Krasnoyarsk", "по Красноярску"},
    {"Asia/Irkutsk", "по Иркутску"},
    {"Asia/Chita", "по Чите"},
    {"Asia/Yakutsk", "по Якутску"},
    {"Asia/Vladivostok", "по Владивостоку"},
    {"Asia/Sakhalin", "по Сахалину"},
    {"Asia/Magadan", "по Магадану"},
    {"Asia/Kamchatka", "по Камчатке"},
    {"Asia/Anadyr", "по Анадырю"},
    {"Europe/Minsk", "по Минску"},
    {"Europe/Kyiv", "по Киеву"},
    {"Europe/Kiev", "по Киеву"},
    {"Europe/Chisinau", "по Кишинёву"},
    {"Europe/Riga", "по Риге"},
    {"Europe/Vilnius", "по Вильнюсу"},
    {"Europe/Tallinn", "по Таллину"},
    {"Asia/Tbilisi", "по Тбилиси"},
    {"Asia/Yerevan", "по Еревану"},
    {"Asia/Baku", "по Баку"},
    {"Asia/Almaty", "по Алма-Ате"},
    {"Asia/Tashkent", "по Ташкенту"},
    {"Asia/Bishkek", "по Бишкеку"},
    {"Asia/Dushanbe", "по Душанбе"},
    {"Asia/Ashgabat", "по Ашхабаду"},
};

// The zone a name of TZ or of a file stands for, or empty.
std::string Known(std::string name) {
  while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
  if (name.starts_with(':')) name.erase(0, 1);
  return !name.empty() && ZoneExists(name) ? name : std::string();
}

}  // namespace

ReaderClock SystemClock() {
  // TZ wins over the system's setting, as it does for every program; a rule
  // the database does not name is left to the C library.
  if (const char* tz = std::getenv("TZ")) return {Known(tz)};
  std::error_code ec;
  const std::string link = std::filesystem::read_symlink("/etc/localtime", ec).string();
  if (const size_t at = link.find("zoneinfo/"); !ec && at != std::string::npos)
    if (std::string zone = Known(link.substr(at + 9)); !zone.empty()) return {zone};
  std::ifstream file("/etc/timezone");
  std::string name;
  std::getline(file, name);
  return {Known(name)};
}

ClockReading ReadClock(const ReaderClock& clock, double julianDayUt) {
  std::optional<int> offset;
  if (!clock.zone.empty()) offset = ZoneOffsetAt(clock.zone, julianDayUt);
  if (!offset) {
    tzset();  // TZ as it is now
    const std::time_t instant =
        static_cast<std::time_t>(std::floor((julianDayUt - kUnixEpochJulianDay) * 86400));
    std::tm local{};
    offset = localtime_r(&instant, &local) ? static_cast<int>(local.tm_gmtoff / 60) : 0;
  }
  const CalendarMinute minute = ToCalendarMinute(julianDayUt + *offset / 1440.0);
  return {minute.date, minute.hour, minute.minute, *offset};
}

std::string ClockHour(const ClockReading& reading) {
  return W("в ") + TimeInDigits({reading.hour, reading.minute});
}

std::string ClockZone(const ReaderClock& clock, const ClockReading& reading) {
  for (const auto& words : kZoneWords)
    if (words.zone == clock.zone) return W(words.words);
  // "UTC+3", "UTC+5:30", "UTC-5", and UTC itself bare.
  std::string offset = "(UTC";
  if (const int minutes = reading.offsetMinutes; minutes != 0) {
    offset += minutes > 0 ? '+' : '-';
    offset += std::to_string(std::abs(minutes) / 60);
    if (std::abs(minutes) % 60 != 0) {
      char rest[8];
      std::snprintf(rest, sizeof rest, ":%02d", std::abs(minutes) % 60);
      offset += rest;
    }
  }
  return offset + ')';
}

std::string ClockText(const ReaderClock& clock, const ClockReading& reading) {
  return ClockHour(reading) + ' ' + ClockZone(clock, reading);
}

}  // namespace meridan
