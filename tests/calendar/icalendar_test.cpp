#include "output/calendar/icalendar.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "output/calendar/forecast_events.h"
#include "output/calendar/siphash.h"

namespace meridan {
namespace {

const ReaderClock kMoscow{"Europe/Moscow"};

// The test vectors of the SipHash paper: key 00 01 .. 0f, messages 00 01 ..
// of 0 and 15 bytes.
TEST(SipHash24, PublishedVectors) {
  SipKey key{};
  for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(i);
  std::string message;
  EXPECT_EQ(SipHash24(key, message), 0x726fdb47dd0e0e31ULL);
  for (char c = 0; c < 15; ++c) message += c;
  EXPECT_EQ(SipHash24(key, message), 0xa129ca6149be45e5ULL);
}

TEST(Icalendar, TextValuesAreEscaped) {
  EXPECT_EQ(EscapeText("a\\b;c,d\ne\r\nf\rg\x01h\ti"), "a\\\\b\\;c\\,d\\ne\\nf\\ngh i");
}

// Cyrillic is two octets a character: a fold never falls inside one, each
// physical line keeps to 75 octets with its opening blank, and unfolding
// gives the line back.
TEST(Icalendar, LinesFoldAtSeventyFiveOctetsBetweenCharacters) {
  for (const std::string prefix : {"", "x", "SUMMARY:"}) {
    std::string line = prefix;
    for (int i = 0; i < 120; ++i) line += "ё";
    const std::string folded = FoldLine(line);
    ASSERT_TRUE(folded.ends_with("\r\n"));
    std::string unfolded;
    size_t pos = 0;
    while (pos < folded.size()) {
      const size_t end = folded.find("\r\n", pos);
      std::string_view physical(folded.data() + pos, end - pos);
      EXPECT_LE(physical.size(), 75u);
      if (pos > 0) {
        ASSERT_EQ(physical.front(), ' ');
        physical.remove_prefix(1);
      }
      EXPECT_TRUE(Utf8Length(physical).has_value()) << "a character split at a fold";
      unfolded += physical;
      pos = end + 2;
    }
    EXPECT_EQ(unfolded, line);
  }
  EXPECT_EQ(FoldLine(std::string(75, 'a')), std::string(75, 'a') + "\r\n");
  EXPECT_EQ(FoldLine(std::string(76, 'a')), std::string(75, 'a') + "\r\n a\r\n");
}

TEST(Icalendar, AllDayEventsInUtf8) {
  const CalendarEvent event{
      "u1@meridan-diru", {28, 7, 2025}, {5, 8, 2025}, W("+4 Поездки: «Да»"), W("Строка;\nвторая")};
  const std::string file = RenderCalendar({event}, 1754000000);  // 2025-07-31 22:13:20 UTC
  const std::string expected =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Meridan Diru//Meridan Diru//RU\r\n"
      "CALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\nBEGIN:VEVENT\r\nUID:u1@meridan-diru\r\n"
      "DTSTAMP:20250731T221320Z\r\nDTSTART;VALUE=DATE:20250728\r\n"
      "DTEND;VALUE=DATE:20250805\r\nSUMMARY:+4 Поездки: «Да»\r\n"
      "DESCRIPTION:Строка\\;\\nвторая\r\nTRANSP:TRANSPARENT\r\nEND:VEVENT\r\n"
      "END:VCALENDAR\r\n";
  EXPECT_EQ(file, expected);
}

TEST(ForecastEvents, StrongAcceptedInfluencesAndTheTurnsOfMercuryAndMars) {
  InterpretationRecord strong, weak;
  strong.text = W("Дорога требует терпения. Закладывайте запас времени.");
  strong.firstLine = strong.text + " ";
  weak.text = weak.firstLine = W("Слабо.");
  // The window of 28 July to 4 August 2025 (noons), exact on 2 August.
  const double first = 45865, last = 45872;
  const std::vector<InfluenceText> influences = {
      {{5, 90, 7, first, last, {first + 5.1}}, -3, true, &strong},
      {{4, 0, 1, first, last, {}}, 4, false, &strong},  // not printed
      {{4, 60, 1, first, last, {}}, 2, true, &weak},    // too weak
  };
  const std::vector<Station> stations = {
      {first + 0.2, kMercury, true}, {first + 1, kVenus, true}, {first + 2, kMars, false}};
  SipKey key{};
  const auto trips =
      ForecastEvents(ForecastKind::Trips, {20, 5, 1984}, influences, stations, kMoscow, key);
  ASSERT_EQ(trips.size(), 3u);
  EXPECT_EQ(Cp1251ToUtf8(trips[0].summary), "Поездки: неблагоприятно — долгий путь");
  EXPECT_EQ(trips[0].first, (Date{28, 7, 2025}));
  EXPECT_EQ(trips[0].afterLast, (Date{5, 8, 2025}));
  EXPECT_EQ(
      Cp1251ToUtf8(trips[0].description),
      "Дорога требует терпения. Закладывайте запас времени.\n\n"
      "Неблагоприятное указание, сила 3 из 5.\n"
      "Действует с 28 июля 2025 по 4 августа 2025.\nТочно: 2 августа 2025 в 17:24 по Москве.");
  EXPECT_EQ(Cp1251ToUtf8(trips[1].summary), "Поездки: Меркурий начинает попятное движение");
  EXPECT_EQ(Cp1251ToUtf8(trips[2].summary), "Поездки: Марс возвращается к прямому движению");
  // A turn says in one sentence what it means for the kind, then when it comes.
  EXPECT_TRUE(Cp1251ToUtf8(trips[1].description).starts_with("Несколько недель адреса"))
      << Cp1251ToUtf8(trips[1].description);
  EXPECT_TRUE(
      Cp1251ToUtf8(trips[1].description)
          .ends_with("\n\nМеркурий начинает попятное движение: 28 июля 2025 в 19:48 по Москве."))
      << Cp1251ToUtf8(trips[1].description);
  // On a clock ten hours ahead the turn at 16:48 UT comes on the next day,
  // under the same name; days that hang on the unknown birth hour say so.
  std::vector<InfluenceText> unsure = {influences[0], influences[0]};
  unsure[0].influence.hourWindows = HourWindows{{first - 1, last, 0, 0}, std::nullopt};
  unsure[1].influence.key.natalBody = 8;
  unsure[1].influence.hourWindows = HourWindows{{first - 1, last + 1, 0, 0}, DayWindow{}};
  const auto east = ForecastEvents(ForecastKind::Trips, {20, 5, 1984}, unsure, stations,
                                   ReaderClock{"Asia/Vladivostok"}, key);
  ASSERT_EQ(east.size(), 4u);
  EXPECT_TRUE(Cp1251ToUtf8(east[0].description)
                  .ends_with("Точно: 3 августа 2025 в 00:24 по Владивостоку.\n"
                             "Может не наступить вовсе: час рождения не указан."))
      << Cp1251ToUtf8(east[0].description);
  EXPECT_TRUE(Cp1251ToUtf8(east[1].description)
                  .ends_with("\nДаты могут сдвинуться на день-два: час рождения не указан."));
  EXPECT_EQ(east[2].first, (Date{29, 7, 2025}));
  EXPECT_EQ(east[2].afterLast, (Date{30, 7, 2025}));
  EXPECT_EQ(east[2].uid, trips[1].uid);
  EXPECT_TRUE(
      Cp1251ToUtf8(east[2].description).ends_with(": 29 июля 2025 в 02:48 по Владивостоку."));
  // The names repeat with the key and say nothing of the person.
  const auto again =
      ForecastEvents(ForecastKind::Trips, {20, 5, 1984}, influences, stations, kMoscow, key);
  for (size_t i = 0; i < trips.size(); ++i) {
    EXPECT_EQ(trips[i].uid, again[i].uid);
    EXPECT_EQ(trips[i].uid.find("1984"), std::string::npos);
  }
  SipKey other{};
  other[0] = 1;
  EXPECT_NE(
      ForecastEvents(ForecastKind::Trips, {20, 5, 1984}, influences, stations, kMoscow, other)[0]
          .uid,
      trips[0].uid);
  EXPECT_NE(
      ForecastEvents(ForecastKind::Trips, {21, 5, 1984}, influences, stations, kMoscow, key)[0].uid,
      trips[0].uid);
  // Every title a phone can show on one line: 60 characters at most, for every
  // kind, sign, natal body and turn.
  for (const ForecastKind kind : {ForecastKind::Trips, ForecastKind::Service, ForecastKind::Sale})
    for (const int natal : {1, 3, 4, 5, 6, 7, 8, 9, 10})
      for (const int rating : {-5, 5}) {
        const std::vector<InfluenceText> one = {
            {{5, 90, natal, first, last, {}}, rating, true, &strong}};
        const std::vector<Station> turns = {{first, kMercury, false}, {first, kMars, true}};
        for (const CalendarEvent& event :
             ForecastEvents(kind, {20, 5, 1984}, one, turns, kMoscow, key))
          EXPECT_LE(event.summary.size(), 60u) << Cp1251ToUtf8(event.summary);
      }
  // Purchase-sale leaves Mars's turns out.
  EXPECT_EQ(
      ForecastEvents(ForecastKind::Sale, {20, 5, 1984}, influences, stations, kMoscow, key).size(),
      2u);
}

// A best window: its days, peak, reasons and cautions in words, and the one
// event of the file with a reminder, at 18:00 the evening before.
TEST(ForecastEvents, BestWindowsWithTheirReasonsAndAReminder) {
  InterpretationRecord blue, red;
  blue.text = W("Дорога требует терпения. Закладывайте запас времени.");
  blue.firstLine = blue.text + " ";
  red.text = red.firstLine = W("Слабо.");
  const double first = 45865, last = 45872;  // 28 July to 4 August 2025
  BestWindow window{first, last, first + 3, 5, 20, {}, {}};
  window.reasons.push_back({{5, 90, 7, first - 2, first + 1, {}}, 3, true, &blue});
  window.cautions.push_back({{4, 0, 1, last, last + 3, {}}, -2, true, &red});
  const SipKey key{};
  const auto events = BestWindowEvents(ForecastKind::Trips, {20, 5, 1984}, {window}, key);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(events[0].summary), "Лучшие дни: поездки");
  EXPECT_EQ(events[0].first, (Date{28, 7, 2025}));
  EXPECT_EQ(events[0].afterLast, (Date{5, 8, 2025}));
  EXPECT_EQ(Cp1251ToUtf8(events[0].description),
            "понедельник, 28 июля 2025 — понедельник, 4 августа 2025 (8 дней)\n"
            "Лучший день: четверг, 31 июля 2025. Сумма оценок за полосу: 20.\n"
            "Почему:\n"
            "+ Марс в квадрате с натальным Сатурном (+3): Дорога требует терпения.\n"
            "Что учесть:\n"
            "- Венера в соединении с натальным Солнцем (-2): Слабо.");
  EXPECT_EQ(BestWindowEvents(ForecastKind::Trips, {20, 5, 1984}, {window}, key)[0].uid,
            events[0].uid);
  EXPECT_NE(BestWindowEvents(ForecastKind::Sale, {20, 5, 1984}, {window}, key)[0].uid,
            events[0].uid);
  const std::string file = RenderCalendar(events, 1754000000);
  EXPECT_NE(file.find("TRANSP:TRANSPARENT\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT6H\r\n"
                      "DESCRIPTION:Лучшие дни: поездки\r\nEND:VALARM\r\nEND:VEVENT\r\n"),
            std::string::npos)
      << file;
}

}  // namespace
}  // namespace meridan
