#pragma once
// The calendar's own words for each forecast kind (UTF-8): its name before
// every title, what each natal body stands for in it (the title names it,
// so that a phone's one line says what the days are about), what each turn
// of Mercury and Mars means for it, and its subject in the best days'
// title.

#include <string_view>

#include "transits/forecast_kind.h"

namespace meridan {

struct CalendarKindWords {
  ForecastKind kind;
  std::string_view name;     // before each event's title: "Поездки: …"
  std::string_view subject;  // in the best days' title: "Лучшие дни: поездки"
  // Sun, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto.
  std::string_view topics[9];
  std::string_view mercuryRetrograde, mercuryDirect, marsRetrograde, marsDirect;
};

inline constexpr CalendarKindWords kCalendarKindWords[] = {
    {.kind = ForecastKind::Trips,
     .name = "Поездки",
     .subject = "поездки",
     .topics = {"самочувствие за рулём", "маршрут и договорённости", "поездки с близкими",
                "скорость и манёвры", "дальняя дорога", "долгий путь", "неожиданности в пути",
                "видимость и ориентиры", "отношения на дороге"},
     .mercuryRetrograde =
         "Несколько недель адреса, маршруты и договорённости о встречах путаются чаще: "
         "подтверждайте их перед выездом.",
     .mercuryDirect = "Путаница с маршрутами и договорённостями понемногу уходит, и планы поездок "
                      "снова складываются ровнее.",
     .marsRetrograde =
         "Несколько недель раздражение в пути копится легче: выезжайте с запасом времени и не "
         "отвечайте на чужую резкость.",
     .marsDirect = "Напряжение в потоке понемногу спадает; привычку держать дистанцию сохраните."},
    {.kind = ForecastKind::Service,
     .name = "Автосервис",
     .subject = "автосервис",
     .topics = {"планы обслуживания", "запись, заказы и бумаги", "кузов и салон", "работа руками",
                "выбор сервиса и цены", "износ и сроки", "электрика и электроника",
                "жидкости и диагноз", "крупный ремонт"},
     .mercuryRetrograde =
         "Несколько недель записи, заказы деталей и бумаги требуют двойной проверки: сверяйте "
         "артикулы и заказ-наряды.",
     .mercuryDirect =
         "Записи и заказы снова идут ровнее; отложенные бумаги по ремонту можно доводить до конца.",
     .marsRetrograde =
         "Несколько недель работа руками идёт туже: сложное поручайте мастеру, а своё делайте "
         "без спешки.",
     .marsDirect = "Работа с машиной снова идёт ровнее; начатый ремонт можно доводить до конца."},
    {.kind = ForecastKind::Sale,
     .name = "Покупка-продажа",
     .subject = "покупка-продажа",
     .topics = {"выбор машины", "переговоры и бумаги", "цена и торг", "осмотр и тест-драйв",
                "кредит и страховка", "оформление и регистрация", "неожиданные перемены",
                "доверие и проверка", "крупные решения"},
     .mercuryRetrograde =
         "До возвращения Меркурия к прямому движению договор и расчёт не торопите: каждую строку "
         "и каждую сумму сверяйте дважды.",
     .mercuryDirect =
         "Подписание и расчёт снова можно планировать как обычно, с обычной проверкой документов.",
     .marsRetrograde = "",
     .marsDirect = ""},
};
static_assert(CoversEveryKind(kCalendarKindWords), "one row per ForecastKind, in the enum's order");

inline const CalendarKindWords& CalendarWords(ForecastKind kind) {
  return RowOf(kCalendarKindWords, kind);
}

}  // namespace meridan
