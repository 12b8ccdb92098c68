#include "texts/best_days_text.h"

#include <cmath>
#include <cstdlib>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "base/month_names.h"
#include "ephemeris/calendar.h"
#include "transits/natal.h"

namespace meridan {
namespace {

struct BodyWords {
  int body;
  const char* name;   // "Венера"
  const char* natal;  // "натальной Венерой": after "с"
};
constexpr BodyWords kBodyWords[] = {
    {kSun, "Солнце", "натальным Солнцем"},      {kMercury, "Меркурий", "натальным Меркурием"},
    {kVenus, "Венера", "натальной Венерой"},    {kMars, "Марс", "натальным Марсом"},
    {kJupiter, "Юпитер", "натальным Юпитером"}, {kSaturn, "Сатурн", "натальным Сатурном"},
    {kUranus, "Уран", "натальным Ураном"},      {kNeptune, "Нептун", "натальным Нептуном"},
    {kPluto, "Плутон", "натальным Плутоном"},
};

constexpr struct {
  int aspect;
  const char* words;
} kAspectWords[] = {{0, "в соединении с"},
                    {60, "в секстиле с"},
                    {90, "в квадрате с"},
                    {120, "в трине с"},
                    {180, "в оппозиции с"}};

const BodyWords* Words(int body) {
  for (const BodyWords& words : kBodyWords)
    if (words.body == body) return &words;
  return nullptr;
}

// The kind's action after "для": "Лучшие дни для поездок".
const char* ActionWords(ForecastKind kind) {
  switch (kind) {
    case ForecastKind::Trips:
      return "поездок";
    case ForecastKind::Service:
      return "обслуживания и ремонта машины";
    case ForecastKind::Sale:
      return "покупки и продажи машины";
  }
  return "";
}

// Weekdays from Sunday: noon of 31 December 1899, Julian day 0, was a Sunday.
constexpr const char* kWeekdays[] = {"воскресенье", "понедельник", "вторник", "среда",
                                     "четверг",     "пятница",     "суббота"};

std::string Signed(int rating) { return (rating > 0 ? "+" : "") + std::to_string(rating); }

}  // namespace

std::string DayWithWeekday(double noon) {
  const Date date = DateOf(noon);
  const long day = std::lround(std::floor(noon + 0.5));
  return W(kWeekdays[((day % 7) + 7) % 7]) + ", " + DateInWords(date);
}

std::string DayCount(int days) {
  const int tens = days % 100, ones = days % 10;
  const char* word = (tens >= 11 && tens <= 14) ? "дней"
                     : ones == 1                ? "день"
                     : (ones >= 2 && ones <= 4) ? "дня"
                                                : "дней";
  return std::to_string(days) + ' ' + W(word);
}

std::string InfluenceTitle(int transitBody, int aspect, int natalBody) {
  const BodyWords* transit = Words(transitBody);
  const BodyWords* natal = Words(natalBody);
  const char* aspectWords = nullptr;
  for (const auto& words : kAspectWords)
    if (words.aspect == aspect) aspectWords = words.words;
  if (!transit || !natal || !aspectWords)
    return std::to_string(transitBody) + ' ' + std::to_string(aspect) + ' ' +
           std::to_string(natalBody);
  return W(transit->name) + ' ' + W(aspectWords) + ' ' + W(natal->natal);
}

std::string InfluenceReason(const InfluenceText& text) {
  const Influence& influence = text.influence;
  std::string line =
      InfluenceTitle(influence.key.transitBody, influence.key.aspect, influence.key.natalBody) +
      " (" + Signed(text.rating) + ")";
  if (text.record) {
    const std::string sentence = FirstSentence(text.record->firstLine);
    if (!sentence.empty()) line += ": " + sentence;
  }
  return line;
}

std::string BestDaysHeading(ForecastKind kind) {
  return W("Лучшие дни для ") + W(ActionWords(kind));
}

std::string NoBestWindowsText(ForecastKind kind) {
  return W("В эти месяцы для ") + W(ActionWords(kind)) +
         W(" благоприятной полосы нет: ни один день не набирает благоприятных указаний "
           "без сильных неблагоприятных. Отдельные слабые дни здесь не перечислены.");
}

std::string WindowDays(const BestWindow& window) {
  if (window.days() == 1) return DayWithWeekday(window.firstNoon) + " (" + DayCount(1) + ")";
  return DayWithWeekday(window.firstNoon) + W(" — ") + DayWithWeekday(window.lastNoon) + " (" +
         DayCount(window.days()) + ")";
}

std::vector<std::string> WindowLines(const BestWindow& window) {
  std::vector<std::string> lines;
  lines.push_back(W("Лучший день: ") + DayWithWeekday(window.peakNoon) +
                  W(". Сумма оценок за полосу: ") + std::to_string(window.score) + '.');
  lines.push_back(W("Почему:"));
  for (const InfluenceText& text : window.reasons) lines.push_back("+ " + InfluenceReason(text));
  if (!window.cautions.empty()) {
    lines.push_back(W("Что учесть:"));
    for (const InfluenceText& text : window.cautions) lines.push_back("- " + InfluenceReason(text));
  }
  return lines;
}

std::string BestWindowsText(ForecastKind kind, YearMonth start, int months,
                            const std::vector<BestWindow>& windows) {
  const YearMonth last = start.Plus(months - 1);
  std::string text = BestDaysHeading(kind) + '\n';
  if (months <= 1)
    text += MonthAndYear(start) + "\n\n";
  else
    text += W("С ") + MonthNameGenitive(start.month) + ' ' + std::to_string(start.year) +
            W(" по ") + MonthAndYearLower(last) + "\n\n";
  if (windows.empty()) return text + NoBestWindowsText(kind) + '\n';
  for (size_t i = 0; i < windows.size(); ++i) {
    text += std::to_string(i + 1) + ". " + WindowDays(windows[i]) + '\n';
    for (const std::string& line : WindowLines(windows[i])) text += "   " + line + '\n';
    text += '\n';
  }
  return text;
}

}  // namespace meridan
